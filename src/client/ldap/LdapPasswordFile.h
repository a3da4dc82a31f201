#pragma once

#include "ClientTypes.h"

#include <string>

// The password of a simple bind: rc::kBadPasswordFile unless `path` is a regular file owned by
// the current user that nobody else may read or write. A final line break is not part of it.
NWDSCCODE ReadPasswordFile(const std::string& path, std::string* password);
