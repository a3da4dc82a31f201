#pragma once

#include <string>

// Where the embedded directory lives for this user: $XDG_DATA_HOME (default ~/.local/share)
// + "/quillbarrow/directory.db".
std::string DefaultEmbeddedStorePath();

// Creates the folders leading to `path` that are missing, each readable by its owner only.
// False when one cannot be created.
bool CreateStoreFolders(const std::string& path);

// True when the folder holding `path` is a directory of this user that nobody else may write to:
// otherwise another user could swap the store file under us.
bool IsPrivateStoreFolder(const std::string& path);

// Creates the store file readable and writable by its owner only, unless it exists already.
// SQLite would create it with its own default mode, which other users could read.
bool CreatePrivateFile(const std::string& path);
