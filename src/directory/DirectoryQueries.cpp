#include "directory/DirectoryQueries.h"

#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "directory/SharedContext.h"
#include "directory/TNDSObj.h"
#include "directory/TreeWalk.h"

PasswordSupport DirectoryPasswordSupport() {
    return Client().QueryPasswordSupport();
}

ExpiryLimit DirectoryExpirySupport() {
    return Client().QueryExpirySupport();
}

PosixLimit DirectoryPosixSupport() {
    return Client().QueryPosixSupport();
}

std::string DirectoryNameOf(const std::string& container, const std::string& objectName) {
    // Named from the top: the shared context's name context is whatever the last scan or run left.
    const std::string absolute = "." + EscapeNamePart(objectName) + "." + container;
    std::string name;
    if (Client().ObjectDirectoryName(DirContext, absolute.c_str(), &name) != 0)
        return {};
    return name;
}

std::string ContainerDirectoryName(const std::string& container) {
    if (container == kRootName)
        return {};
    // The interface names objects to be created in a container: the name of one, less its own
    // part ("cn=x," on LDAP, "x." in the embedded directory), is the container's.
    const std::string child = DirectoryNameOf(container, "x");
    if (child.starts_with("x."))
        return child.substr(2);
    const std::size_t comma = child.find(',');
    return comma == std::string::npos ? std::string() : child.substr(comma + 1);
}

std::optional<std::set<std::string>> ListEntryNames(const std::string& container, NWDSCCODE* code) {
    std::set<std::string> names;
    TNDSObj cursor;
    NWDSCCODE result = ListFirst(container, cursor);
    while (result == 0) {
        names.insert(cursor.EntryName);
        result = ListNext(cursor);
    }
    *code = result;
    if (ListingFailed(result))
        return std::nullopt;
    return names;
}

bool DirectoryGroups(std::vector<DirectoryGroup>* groups, int* code) {
    *code = Client().ListGroups(groups);
    return *code == 0;
}
