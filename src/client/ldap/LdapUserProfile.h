#pragma once

#include "ClientTypes.h"
#include "LdapServerKind.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a new User becomes on a server of one kind: the attribute of its RDN, whose value is the login
// name, and its attributes with their values, each taken literally.
// Attribute of a new User's RDN on every server kind; its value is the login name.
inline constexpr const char* kUserRdnAttribute = "cn";

struct UserEntry {
    std::string rdnAttribute;
    std::vector<std::pair<std::string, std::vector<std::string>>> attributes;
};

// The one home of the user profiles. OpenLDAP, 389 Directory Server and generic servers: an
// inetOrgPerson named cn=<login name>, with sn and uid = the login name. Active Directory: a user
// named cn=<login name>, with sAMAccountName = the login name, userPrincipalName = <login
// name>@<domainDnsName> (left out when the domain's name is unknown), and sn. Without a password AD
// creates the account disabled. rc::kLoginNameNotValid, and no entry, for a login name Active
// Directory cannot take (IsActiveDirectoryLoginName).
NWDSCCODE MakeUserEntry(LdapServerKind kind, const std::string& loginName, const std::string& surname,
                        const std::string& domainDnsName, UserEntry* entry);

// Whether Active Directory takes `loginName` as sAMAccountName as it stands: at most 20 characters
// (counted as AD counts them, in UTF-16 units) and none of " / \ [ ] : ; | = , + * ? < >. A name it
// does not take it would shorten or replace by a made-up one.
bool IsActiveDirectoryLoginName(std::string_view loginName);
