#pragma once

#include "client/ClientTypes.h"

#include <string>
#include <utility>
#include <vector>

// Every entry a TNDSObj cursor yields for `container`, as (name, base class), in the order they
// came; the nonzero result that ended the listing goes to `*end`. Checks that the cursor holds
// no context or buffer afterwards.
std::vector<std::pair<std::string, std::string>> ListEntries(const std::string& container, NWDSCCODE* end = nullptr);
