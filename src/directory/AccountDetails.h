#pragma once

#include "client/DirectoryGroup.h"

#include <cstdint>
#include <optional>

// What the Account details dialog chose for the following runs, until the program closes. Nothing
// set makes a run exactly as without the dialog.
struct AccountDetails {
    // The group the run's users join, kept by its directory name (DirectoryGroup::name).
    std::optional<DirectoryGroup> group;
    // The first second (since the epoch) the run's users may no longer log in.
    std::optional<std::int64_t> expiresAt;
};
