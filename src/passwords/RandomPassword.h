#pragma once

#include "passwords/SecretText.h"

#include <optional>
#include <string>
#include <string_view>

// Lengths the Passwords dialog offers for random passwords.
inline constexpr int kMinRandomPasswordLength = 8;
inline constexpr int kMaxRandomPasswordLength = 64;
inline constexpr int kDefaultRandomPasswordLength = 12;

// The characters of a random password: letters and digits that cannot be taken for one another
// on a slip (no 0/O, no 1/l/I).
inline constexpr std::string_view kPasswordUpper = "ABCDEFGHJKLMNPQRSTUVWXYZ";
inline constexpr std::string_view kPasswordLower = "abcdefghijkmnopqrstuvwxyz";
inline constexpr std::string_view kPasswordDigits = "23456789";

// A password of `length` characters from the system's random source, holding at least one
// upper-case letter, one lower-case letter and one digit (what the usual complexity rules ask),
// and otherwise drawn uniformly: every such password is equally likely. Nullopt when the random
// source fails or `length` is below 3.
std::optional<SecretText> RandomPassword(int length);
