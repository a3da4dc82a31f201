#pragma once

#include "client/ClientTypes.h"
#include "passwords/SecretText.h"

#include <cstddef>
#include <string>

// Largest password file read; a larger one is refused like any other unfit file.
inline constexpr std::size_t kMaxPasswordFileSize = 4096;

// The password of a simple bind: rc::kBadPasswordFile unless `path` names (not through a link) a
// regular file of at most kMaxPasswordFileSize bytes, owned by the effective user, that nobody else
// may read, write or run. A final line break is not part of it. What was read is held only in
// wiped memory; the caller drops the password once it has bound.
NWDSCCODE ReadPasswordFile(const std::string& path, SecretText* password);
