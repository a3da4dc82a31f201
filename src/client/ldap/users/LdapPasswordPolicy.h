#pragma once

#include "client/PasswordSupport.h"
#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/server/LdapRootDse.h"
#include "client/ldap/server/LdapServerKind.h"

#include <string>
#include <utility>
#include <vector>

// Whether a server asks a user to change a password an administrator set, at the first login,
// as far as the bound identity can see.
enum class MustChangePolicy {
    Asks,       // the server's standard way is there and on
    DoesNotAsk, // its policy is readable and off
    NoOverlay,  // OpenLDAP without its password policy overlay (ppolicy)
    Hidden,     // the bound identity may not read the policy
};

// The policies of a server: the one for the whole server (the window offers the demand when any
// part of the directory asks) and, where the configuration says, the one of each database.
struct MustChangePolicies {
    MustChangePolicy whole = MustChangePolicy::Hidden;
    std::vector<std::pair<std::string, MustChangePolicy>> bySuffix; // normalised suffix, its database's policy

    // The policy that governs an entry made at `dn`: its database's (the longest suffix ending it;
    // NoOverlay for a DN no database holds), or the whole server's when no database is known.
    MustChangePolicy For(const std::string& dn) const;
};

// The policies of a server of `kind` with the root DSE `root`:
// - OpenLDAP: the ppolicy overlay shows its control in the root DSE, else NoOverlay. When the
//   configuration (configContext) is readable, each database's policy is its overlay's default policy
//   (the frontend's overlay for a database without one): pwdMustChange TRUE (then a new user's
//   pwdReset takes effect), else DoesNotAsk; a database without an overlay, NoOverlay. When it is not
//   readable, Hidden for all.
// - 389 Directory Server: cn=config's passwordMustChange, "on" or not; Hidden when unreadable.
// - Active Directory: Asks (pwdLastSet 0). Generic servers: DoesNotAsk.
// Returns the LDAP code only when the connection was lost on the way, else LDAP_SUCCESS.
int ReadMustChangePolicy(LDAP* ld, LdapServerKind kind, const RootDse& root, MustChangePolicies* policies);

// What a server of `kind` that takes passwords `way` with `policy` can set with a new user over a
// connection that is `encrypted` (ldaps:// or ldapi://) or not. A password travels only encrypted, to
// a server shown to hash it (PasswordWayOf). OpenLDAP with its configuration hidden: the overlay's
// control is all the bound identity sees of the policy, and pwdReset is sent on the strength of it;
// 389 has nothing a client could send, so a hidden policy disables the demand there.
PasswordSupport PasswordSupportOf(LdapServerKind kind, PasswordWay way, MustChangePolicy policy, bool encrypted);
