#include "client/embedded/EmbeddedStorePath.h"

#include "client/FileDescriptor.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return ".";
}
} // namespace

std::string DefaultEmbeddedStorePath() {
    std::string data;
    // The XDG rules say a relative value is invalid and must be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        data = xdg;
    else
        data = HomeFolder() + "/.local/share";
    return data + "/quillbarrow/directory.db";
}

bool CreateStoreFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

namespace {
constexpr mode_t kOthersMayAccess = S_IRWXG | S_IRWXO;

// A file of another user is refused; one of ours that others may use is made owner-only.
bool IsOwnedOrTightened(int fd, const struct stat& info) {
    if (info.st_uid != geteuid())
        return false;
    return (info.st_mode & kOthersMayAccess) == 0 || fchmod(fd, S_IRUSR | S_IWUSR) == 0;
}

// SQLite's own files beside the store, where they exist.
bool TightenCompanion(int folder, const std::string& name) {
    const FileDescriptor file(openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!file)
        return errno == ENOENT;
    struct stat info {};
    return fstat(file.get(), &info) == 0 && S_ISREG(info.st_mode) && IsOwnedOrTightened(file.get(), info);
}
} // namespace

std::optional<StoreFileId> OpenPrivateStoreFile(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folderPath = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const FileDescriptor folder(open(folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (!folder || name.empty() || fstat(folder.get(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return std::nullopt;

    const FileDescriptor file(
        openat(folder.get(), name.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600));
    if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
        !IsOwnedOrTightened(file.get(), info))
        return std::nullopt;
    if (!TightenCompanion(folder.get(), name + "-wal") || !TightenCompanion(folder.get(), name + "-shm"))
        return std::nullopt;
    return StoreFileId{info.st_dev, info.st_ino};
}

bool IsStoreFile(const std::string& path, StoreFileId id) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_dev == id.device &&
           info.st_ino == id.inode;
}
