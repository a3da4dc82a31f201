#pragma once

#include "LdapSession.h"

#include <string>

// The identity the session is bound as, by the WhoAmI operation: the authorisation identity
// without its "dn:" or "u:" in front, kPublicIdentity for an anonymous session. The LDAP result code.
int ReadIdentity(LdapSession& session, std::string* identity);
