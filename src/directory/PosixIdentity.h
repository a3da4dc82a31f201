#pragma once

#include "client/UidBlock.h"
#include "client/UserRequest.h"
#include "directory/AccountDetails.h"

#include <cstdint>
#include <optional>
#include <string>

// The Linux logins (POSIX) of a run's users, one home for the window, the command line and the run.

// The gidNumber the users get: the chosen group's when it has one, else the one typed.
std::optional<std::uint32_t> PosixGid(const AccountDetails& details);

// `homeTemplate` with every %u replaced by `loginName`.
std::string HomeDirectory(const std::string& homeTemplate, const std::string& loginName);

// What is wrong with `details`' Linux login, as a sentence; nullopt when nothing (or none is asked
// for). No gidNumber, a range that is empty or reaches 0 or beyond 2^31 - 1, a home template or shell
// that is no absolute path of printable ASCII.
std::optional<std::string> PosixChoiceRefusal(const AccountDetails& details);

// Reserves `count` uidNumbers for the run in one step, for Users below DirContext's name context.
// Nullopt after CheckNDSError's message when that failed (a full range with a message of its own).
std::optional<UidBlock> ReserveRunUidNumbers(std::int32_t count, const UidRange& range);

// The Linux login of the run's user at `position` (from 0) named `loginName`.
PosixRequest PosixOfUser(const PosixChoice& choice, std::uint32_t gidNumber, const UidBlock& block,
                         std::int32_t position, const std::string& loginName);
