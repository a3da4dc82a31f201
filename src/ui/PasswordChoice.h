#pragma once

#include "passwords/RandomPassword.h"
#include "passwords/SecretText.h"

#include <QString>

// What the Passwords dialog chose for the following creation runs; held in memory only, until the
// program closes or the dialog chooses otherwise.
struct PasswordChoice {
    enum class Mode { None, One, Random };

    Mode mode = Mode::None;
    SecretText password;                       // Mode::One, UTF-8
    int length = kDefaultRandomPasswordLength; // Mode::Random
    bool mustChange = false;                   // with a password only
};
