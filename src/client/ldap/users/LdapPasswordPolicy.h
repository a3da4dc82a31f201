#pragma once

#include "client/PasswordSupport.h"
#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/server/LdapRootDse.h"
#include "client/ldap/server/LdapServerKind.h"

// Whether a server asks a user to change a password an administrator set, at the first login,
// as far as the bound identity can see.
enum class MustChangePolicy {
    Asks,       // the server's standard way is there and on
    DoesNotAsk, // its policy is readable and off
    NoOverlay,  // OpenLDAP without its password policy overlay (ppolicy)
    Hidden,     // the bound identity may not read the policy
};

// The policy of a server of `kind` with the root DSE `root`:
// - OpenLDAP: the ppolicy overlay shows its control in the root DSE, else NoOverlay. When the
//   configuration (configContext) is readable, an overlay's default policy must say pwdMustChange
//   TRUE (then a new user's pwdReset takes effect), else DoesNotAsk; when it is not, Hidden.
// - 389 Directory Server: cn=config's passwordMustChange, "on" or not; Hidden when unreadable.
// - Active Directory: Asks (pwdLastSet 0). Generic servers: DoesNotAsk.
// Returns the LDAP code only when the connection was lost on the way, else LDAP_SUCCESS.
int ReadMustChangePolicy(LDAP* ld, LdapServerKind kind, const RootDse& root, MustChangePolicy* policy);

// What a server of `kind` with `policy` can set with a new user over a connection that is
// `encrypted` (ldaps:// or ldapi://) or not. A password travels only encrypted, to a server of a
// known kind. OpenLDAP with its configuration hidden: the overlay's control is all the bound
// identity sees of the policy, and pwdReset is sent on the strength of it; 389 has nothing a
// client could send, so a hidden policy disables the demand there.
PasswordSupport PasswordSupportOf(LdapServerKind kind, MustChangePolicy policy, bool encrypted);
