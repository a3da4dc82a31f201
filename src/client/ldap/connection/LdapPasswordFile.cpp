#include "client/ldap/connection/LdapPasswordFile.h"

#include "client/FileDescriptor.h"
#include "client/ResultCodes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>
#include <vector>

NWDSCCODE ReadPasswordFile(const std::string& path, SecretText* password) {
    if (path.empty())
        return rc::kBadPasswordFile;
    // Opened once and checked on the descriptor, so the file read is the file checked. A link is
    // refused at the open, and a FIFO does not hold the open up waiting for a writer.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
        (info.st_mode & (S_IRWXG | S_IRWXO)) != 0 || info.st_size > static_cast<off_t>(kMaxPasswordFileSize))
        return rc::kBadPasswordFile;

    // One byte more than allowed tells a file that grew since the check.
    std::vector<char, WipingAllocator<char>> text(kMaxPasswordFileSize + 1, '\0');
    std::size_t used = 0;
    while (used < text.size()) {
        const ssize_t got = read(file.get(), text.data() + used, text.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return rc::kBadPasswordFile;
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    if (used > kMaxPasswordFileSize)
        return rc::kBadPasswordFile;
    std::string_view read(text.data(), used);
    if (read.ends_with('\n'))
        read.remove_suffix(1);
    if (read.ends_with('\r'))
        read.remove_suffix(1);
    password->Assign(read);
    return rc::kSuccess;
}
