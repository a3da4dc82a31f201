#pragma once

#include "client/ldap/connection/LdapSession.h"

#include <string>

// The identity the session is bound as, by the WhoAmI operation (AuthzIdName of the authorisation
// identity); where the server does not answer it, the identity the session bound as. kPublicIdentity
// for an anonymous session. The LDAP result code: WhoAmI's when the session is not bound, or bound
// through SASL as an identity the server did not report.
int ReadIdentity(LdapSession& session, std::string* identity);
