#pragma once

#include "client/ldap/connection/LdapSession.h"

#include <optional>
#include <string>

// uidNumbers on 389 Directory Server where its Distributed Numeric Assignment plugin hands them out:
// an add whose uidNumber is the configured magic value (dnaMagicRegen) gets the next number of the
// plugin's range (dnaNextValue..dnaMaxValue) from the server, atomically, never the same twice.

inline constexpr const char* kDnaPluginDn = "cn=Distributed Numeric Assignment Plugin,cn=plugins,cn=config";

// Puts into `*magic` the value a new user's uidNumber carries for the server to replace, when the
// plugin is enabled and one of its configurations assigns uidNumber to every user added anywhere
// below `namingContextDn`: its scope holds the whole naming context and excludes no part of it, its
// filter tests only object classes the users carry (posixAccount, inetOrgPerson and the classes
// above them), it has a magic value, and its range is not used up. Nullopt otherwise, and also where
// the bound identity cannot read cn=config (an ordinary administrator usually cannot): then the
// counter entry is used. LDAP_SUCCESS, or the LDAP code when the connection was lost.
int FindDnaUidMagic(LdapSession& session, const std::string& namingContextDn, std::optional<std::string>* magic);
