#pragma once

#include <optional>
#include <string>

// How the embedded directory keeps passwords: libcrypt's yescrypt, salted from the system's
// random source, in crypt(3)'s text form ("$y$...").

// The hash of `clearText`; nullopt when libcrypt cannot make one.
std::optional<std::string> HashPassword(const std::string& clearText);

// True when `clearText` is the password `hash` was made from.
bool PasswordMatches(const std::string& hash, const std::string& clearText);
