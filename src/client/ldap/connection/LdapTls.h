#pragma once

#include "client/PasswordSupport.h"

#include <ldap.h>

// Makes the handle check the server's certificate against the configured CAs whatever the
// configuration says (TLS_REQCERT never or allow in an ldaprc is overridden). For handles that
// will carry a password.
int DemandVerifiedCertificates(LDAP* ld);

// Starts TLS (StartTLS) on a connection that is plain TCP, whether or not the root DSE lists the
// extension; a connection over TLS or the local socket is left as it is. A refusal of the server is
// returned as it is; a certificate the handle could not verify gives rc::kUnverifiedServer.
int ProtectConnection(LDAP* ld);

// Strength of a SASL security layer that seals (encrypts) what follows the bind, not only signs it.
inline constexpr int kSealedStrength = 56;

// How the connection the handle made keeps what it carries to the server: the local socket, TLS
// with the server's certificate verified (the handle demands it), or a sealing SASL layer of a
// Kerberos bind, which proved the server; or nothing that may carry a password.
ConnectionProtection ProtectionOf(LDAP* ld);

// True when the connection may carry passwords (CarriesPasswords of ProtectionOf).
bool ConnectionProtected(LDAP* ld);
