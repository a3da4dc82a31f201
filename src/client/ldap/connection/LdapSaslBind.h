#pragma once

#include <ldap.h>

#include <optional>
#include <string>

// SASL mechanisms the client binds with through libldap's SASL library (EXTERNAL goes its own way).
bool IsKerberosMechanism(const std::string& mechanism);

// Binds with SASL `mechanism` (GSSAPI) and no prompt: the credential is the Kerberos ticket in the
// cache (KRB5CCNAME or the default). SASL_REALM, SASL_AUTHCID and SASL_AUTHZID come from libldap's
// configuration; SASL_NOCANON and SASL_SECPROPS libldap applies itself. Without a usable ticket the
// answer is rc::kNoKerberosTicket. `*reported` is the name the SASL layer authenticated as.
int SaslBind(LDAP* ld, const std::string& mechanism, std::optional<std::string>* reported);

// The strength of the security layer the SASL bind set up (0: none).
int SaslStrength(LDAP* ld);
