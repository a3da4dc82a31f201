#include "LdapPasswordFile.h"

#include "ResultCodes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

NWDSCCODE ReadPasswordFile(const std::string& path, std::string* password) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
        (info.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return rc::kBadPasswordFile;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return rc::kBadPasswordFile;
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    *password = std::move(text);
    return rc::kSuccess;
}
