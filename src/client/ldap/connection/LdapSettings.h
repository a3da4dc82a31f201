#pragma once

#include "client/ldap/server/LdapServerKind.h"

#include <optional>
#include <string>

// How the LDAP backend reaches and authenticates to its server.
struct LdapSettings {
    std::string uri;                          // ldap://, ldaps:// or ldapi:// URI(s), as libldap takes them
    std::string saslMech;                     // "EXTERNAL" asks for a SASL EXTERNAL bind
    std::string bindDn;                       // simple bind as this DN, with the password read from passwordFile
    std::string passwordFile;                 // must be readable by its owner only
    std::optional<LdapServerKind> serverKind; // set: overrides the kind the root DSE shows
    int networkTimeoutSeconds = 3;
    int operationTimeoutSeconds = 10;
};

// Environment variable naming the password file of a simple bind.
inline constexpr const char* kPasswordFileVariable = "QUILLBARROW_LDAP_PASSWORD_FILE";

// Settings as libldap's own configuration gives them: URI and SASL_MECH from ldap.conf, ldaprc
// and LDAP* variables (libldap reads them), BINDDN from the user's ldaprc files or LDAPBINDDN
// (user-only options libldap keeps to itself), the password file from kPasswordFileVariable, the
// server kind from kServerKindVariable.
LdapSettings LdapSettingsFromEnvironment();
