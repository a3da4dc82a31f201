#pragma once

#include <ldap.h>

#include <string>

// The DN of the entry a Kerberos `principal` (user@REALM) names below the server's default naming
// context: the one whose userPrincipalName is the principal, or whose sAMAccountName is its user
// part when the realm is the domain's (Active Directory, Samba). For servers without WhoAmI.
// LDAP_NO_SUCH_OBJECT when no single entry is found.
int FindPrincipalDn(LDAP* ld, const std::string& principal, std::string* dn);
