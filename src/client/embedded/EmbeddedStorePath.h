#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

// Where the embedded directory lives for this user: $XDG_DATA_HOME (default ~/.local/share)
// + "/quillbarrow/directory.db".
std::string DefaultEmbeddedStorePath();

// Creates the folders leading to `path` that are missing, each readable by its owner only.
// False when one cannot be created.
bool CreateStoreFolders(const std::string& path);

// Which file a path named when it was checked: SQLite opens the store by path, and must open that one.
struct StoreFileId {
    dev_t device = 0;
    ino_t inode = 0;
};

// Opens the folder holding `path` and the store file in it, following a link at neither, and
// checks what was opened: the folder a directory of this user that nobody else may write to
// (otherwise another user could swap the file under us), the file a regular file of this user
// with no other name. A missing file is created owner-only (SQLite would use its own default mode);
// an existing one, and its -wal and -shm files, that others could read or write are tightened to
// owner-only. Nullopt when a check fails; a folder that fails has nothing created in it.
std::optional<StoreFileId> OpenPrivateStoreFile(const std::string& path);

// Whether `path`, its last part not followed if a link, is still the file `id` names.
bool IsStoreFile(const std::string& path, StoreFileId id);
