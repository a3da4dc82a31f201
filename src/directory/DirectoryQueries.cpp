#include "DirectoryQueries.h"

#include "BoundClient.h"
#include "DottedName.h"
#include "SharedContext.h"

PasswordSupport DirectoryPasswordSupport() {
    return Client().QueryPasswordSupport();
}

std::string DirectoryNameOf(const std::string& objectName) {
    std::string name;
    if (Client().ObjectDirectoryName(DirContext, EscapeNamePart(objectName).c_str(), &name) != 0)
        return {};
    return name;
}
