#pragma once

#include "client/UserRequest.h"
#include "passwords/SecretText.h"

#include <cstdint>
#include <optional>
#include <string>

// The password a new User is created with, in the same add.
struct InitialPassword {
    SecretText clearText; // UTF-8, at most 256 bytes
    bool mustChange = false;
};

// Creates one User named `objectName` (one literal name, relative to DirContext's name context)
// with `surname` as its "Surname" and, when given, `password` as its initial password. Reports the
// first failing step through CheckNDSError and returns false; true when the object has been
// created. A name that listings could not hand back (256 bytes or more once escaped), a surname or
// a password longer than 256 bytes is refused before any client call. Without a password it makes
// exactly the calls of a User without one. With `expiresAt` the add also carries "Login Expiration
// Time": the first second (since the epoch) the user may no longer log in. With `posix` it also carries
// the user's Linux login ("UID Number", "GID Number", "Home Directory", "Login Shell").
bool CreateUserObject(const std::string& objectName, const std::string& surname,
                      const std::optional<InitialPassword>& password = std::nullopt,
                      std::optional<std::int64_t> expiresAt = std::nullopt,
                      const std::optional<PosixRequest>& posix = std::nullopt);
