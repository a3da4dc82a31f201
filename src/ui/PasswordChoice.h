#pragma once

#include "passwords/RandomPassword.h"

#include <QString>

// What the Passwords dialog chose for the following creation runs; held in memory only, until the
// program closes.
struct PasswordChoice {
    enum class Mode { None, One, Random };

    Mode mode = Mode::None;
    QString password;                          // Mode::One
    int length = kDefaultRandomPasswordLength; // Mode::Random
    bool mustChange = false;                   // with a password only
};
