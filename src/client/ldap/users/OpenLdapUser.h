#pragma once

#include "client/ClientTypes.h"
#include "client/ldap/users/LdapUserProfile.h"

#include <optional>
#include <string>
#include <string_view>

// The password attributes of a new inetOrgPerson on OpenLDAP: userPassword hashed {SSHA}
// (SaltedSha1); must-change: pwdReset TRUE (ppolicy). LDAP_LOCAL_ERROR when no salt could be had.
NWDSCCODE AddOpenLdapPassword(const NewUser& user, std::vector<UserAttribute>* attributes);

// OpenLDAP's userPassword: "{SSHA}" and the base64 of SHA-1(password + salt) followed by the salt,
// 8 random bytes; a scheme every slapd verifies without modules. Nullopt when the system's random
// source gave no salt.
std::optional<std::string> SaltedSha1(std::string_view password);
