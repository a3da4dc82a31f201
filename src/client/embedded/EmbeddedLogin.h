#pragma once

#include "client/ClientTypes.h"

#include <cstdint>
#include <string>

class EmbeddedStore;

// A login to the embedded directory as the User at `dottedName` (from the top) with `password` at
// `now` (seconds since the epoch): 0 when it may log in; else kNoSuchEntry, kNotAUser, kWrongPassword
// (also for a User without a password), kLoginDisabled or kAccountExpired, the password checked first.
NWDSCCODE CheckLogin(EmbeddedStore& store, const std::string& dottedName, const std::string& password,
                     std::int64_t now);
