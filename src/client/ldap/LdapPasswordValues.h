#pragma once

#include <optional>
#include <string>
#include <string_view>

// The forms a new user's password takes in an add, per kind of server.

// OpenLDAP's userPassword: "{SSHA}" and the base64 of SHA-1(password + salt) followed by the salt,
// 8 random bytes; a scheme every slapd verifies without modules. Nullopt when the system's random
// source gave no salt.
std::optional<std::string> SaltedSha1(std::string_view password);

// Active Directory's unicodePwd: the password in double quotes, as UTF-16LE. Nullopt for a text
// that is not well-formed UTF-8.
std::optional<std::string> UnicodePwdValue(std::string_view password);
