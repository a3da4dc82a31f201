#pragma once

#include "client/ClientTypes.h"
#include "client/ldap/users/LdapUserProfile.h"

#include <optional>
#include <string>
#include <string_view>

// A new user on Active Directory: a user named cn=<login name>, with sAMAccountName = the login name,
// userPrincipalName = <login name>@<the domain's DNS name> (left out when that is unknown), and sn.
// Without a password: userAccountControl 514, a disabled normal account. With one: unicodePwd (UnicodePwdValue) and
// userAccountControl 512, an enabled normal account; must-change: pwdLastSet 0. A Linux login:
// uidNumber, gidNumber, unixHomeDirectory, loginShell.
// rc::kLoginNameNotValid, and no entry, for a login name AD cannot take (IsActiveDirectoryLoginName);
// rc::kSyntaxViolation for a password that is not UTF-8; rc::kPasswordNotSupported for one when the
// root DSE does not show Active Directory (PasswordWayOf).
NWDSCCODE ActiveDirectoryUserEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry);

// Whether Active Directory takes `loginName` as sAMAccountName as it stands: at most 20 characters
// (counted as AD counts them, in UTF-16 units) and none of " / \ [ ] : ; | = , + * ? < >. A name it
// does not take it would shorten or replace by a made-up one. Refused too, though AD would take them:
// '@' (the userPrincipalName would hold two), control characters, and a leading or trailing blank.
bool IsActiveDirectoryLoginName(std::string_view loginName);

// Active Directory's unicodePwd: the password in double quotes, as UTF-16LE. Nullopt for a text
// that is not well-formed UTF-8.
std::optional<std::string> UnicodePwdValue(std::string_view password);
