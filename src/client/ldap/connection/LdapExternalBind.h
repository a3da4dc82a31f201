#pragma once

#include "client/ldap/connection/LdapHandles.h"

#include <optional>
#include <string>

// A SASL EXTERNAL bind (the server takes the identity from the socket or the TLS client
// certificate) that asks for the identity bound with the authorization identity request control
// (RFC 3829): `*reported` gets the authzId the server answers with, nullopt when it sends none.
// Returns the LDAP result code.
int ExternalBind(LDAP* ld, std::optional<std::string>* reported);
