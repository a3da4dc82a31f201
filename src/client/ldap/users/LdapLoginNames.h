#pragma once

#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/search/LdapPagedSearch.h"
#include "client/ldap/server/LdapServer.h"

#include <string>
#include <vector>

// Login names in use on an LDAP server: uid on OpenLDAP, 389 Directory Server and generic servers;
// sAMAccountName and userPrincipalName (<login name>@<domain>) on Active Directory.

// Searches the subtree of `baseDn` once, page by page, for every entry that logs in with one of
// `loginNames`, and puts those names into `taken` in their order (letter case ignored, as the
// server compares). The entry a name's own add would meet, cn=<name> in `containerDn`, does not
// count: the server refuses that add itself. Returns the LDAP result code.
int SearchTakenLoginNames(LDAP* ld, PagingLimits& limits, const LdapServerFacts& server, const std::string& baseDn,
                          const std::string& containerDn, const std::vector<std::string>& loginNames,
                          std::vector<std::string>* taken);
