#pragma once

#include "client/DirectoryGroup.h"
#include "client/UidBlock.h"

#include <cstdint>
#include <optional>
#include <string>

// A Linux login (POSIX) for each user of a run.
struct PosixChoice {
    // The users' group: the chosen group's gidNumber when it has one, else this.
    std::optional<std::uint32_t> gidNumber;
    std::string homeTemplate = "/home/%u"; // %u: the login name
    std::string loginShell = "/bin/bash";
    UidRange range;
};

// What the Account details dialog chose for the following runs, until the program closes. Nothing
// set makes a run exactly as without the dialog.
struct AccountDetails {
    // The group the run's users join, kept by its directory name (DirectoryGroup::name).
    std::optional<DirectoryGroup> group;
    // The first second (since the epoch) the run's users may no longer log in.
    std::optional<std::int64_t> expiresAt;
    // A Linux login for each user (PosixIdentity.h).
    std::optional<PosixChoice> posix;
};
