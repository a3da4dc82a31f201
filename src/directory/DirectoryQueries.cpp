#include "directory/DirectoryQueries.h"

#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "directory/SharedContext.h"

PasswordSupport DirectoryPasswordSupport() {
    return Client().QueryPasswordSupport();
}

ExpiryLimit DirectoryExpirySupport() {
    return Client().QueryExpirySupport();
}

std::string DirectoryNameOf(const std::string& container, const std::string& objectName) {
    // Named from the top: the shared context's name context is whatever the last scan or run left.
    const std::string absolute = "." + EscapeNamePart(objectName) + "." + container;
    std::string name;
    if (Client().ObjectDirectoryName(DirContext, absolute.c_str(), &name) != 0)
        return {};
    return name;
}
