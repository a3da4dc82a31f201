#pragma once

#include "ClientTypes.h"
#include "LdapServer.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a new User becomes on a server of one kind: the attribute of its RDN, whose value is the login
// name, and its attributes with their values, each taken literally.
// Attribute of a new User's RDN on every server kind; its value is the login name.
inline constexpr const char* kUserRdnAttribute = "cn";

// A user to be made, as the add request asks for it.
struct NewUser {
    std::string loginName;
    std::string surname;
    std::optional<std::string> password = std::nullopt; // clear text, UTF-8
    bool mustChange = false;                            // change the password at first login
};

struct UserAttribute {
    std::string name;
    std::vector<std::string> values;
    // False where what the server holds afterwards cannot be compared with what was sent: a password
    // the server hashes, or never hands out.
    bool comparable = true;

    bool operator==(const UserAttribute&) const = default;
};

struct UserEntry {
    std::string rdnAttribute;
    std::vector<UserAttribute> attributes;
};

// The one home of the user profiles; everything of the user goes into the one add.
// - OpenLDAP, 389 Directory Server and generic servers: an inetOrgPerson named cn=<login name>, with
//   sn and uid = the login name.
// - Active Directory: a user named cn=<login name>, with sAMAccountName = the login name,
//   userPrincipalName = <login name>@<the domain's DNS name> (left out when that is unknown), and sn.
//   Without a password AD creates the account disabled.
// With a password:
// - OpenLDAP: userPassword hashed {SSHA} (SaltedSha1); must-change: pwdReset TRUE (ppolicy).
// - 389: userPassword as clear text, which the server hashes; a change at first login is the server's
//   password policy's own doing (passwordMustChange), nothing the add carries.
// - Active Directory: unicodePwd (UnicodePwdValue) and userAccountControl 512, an enabled normal
//   account; must-change: pwdLastSet 0.
// - Generic servers: refused (rc::kPasswordNotSupported): how they keep a password is not known.
// rc::kLoginNameNotValid, and no entry, for a login name Active Directory cannot take
// (IsActiveDirectoryLoginName); rc::kSyntaxViolation for a password that is not UTF-8 on AD;
// LDAP_LOCAL_ERROR when no salt could be had for a hash.
NWDSCCODE MakeUserEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry);

// Whether Active Directory takes `loginName` as sAMAccountName as it stands: at most 20 characters
// (counted as AD counts them, in UTF-16 units) and none of " / \ [ ] : ; | = , + * ? < >. A name it
// does not take it would shorten or replace by a made-up one.
bool IsActiveDirectoryLoginName(std::string_view loginName);
