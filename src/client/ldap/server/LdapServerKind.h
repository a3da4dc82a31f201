#pragma once

#include "client/ldap/server/LdapRootDse.h"

#include <optional>
#include <string_view>

// The kinds of server the client tells apart; each gets the user profile that fits it.
enum class LdapServerKind { Generic, OpenLdap, Dirsrv389, ActiveDirectory };

// Environment variable that overrides the kind found in the root DSE: "generic", "openldap",
// "389" or "ad" (letter case ignored). Any other value is ignored.
inline constexpr const char* kServerKindVariable = "QUILLBARROW_LDAP_SERVER_KIND";

// The kind a setting names; nullopt for an empty or unknown value.
std::optional<LdapServerKind> ParseServerKind(std::string_view setting);

// The kind of server from its root DSE: Active Directory (and Samba) by the capability
// 1.2.840.113556.1.4.800, 389 Directory Server by its vendor, OpenLDAP by its root DSE's object
// class OpenLDAProotDSE; any other server is generic.
LdapServerKind DetectServerKind(const RootDse& root);

// How a new user's password goes to a server, decided from what its root DSE shows of it rather than
// from a kind set by hand: a password is only ever sent where the server is known to hash it itself.
enum class PasswordWay {
    None,           // refused: nothing shows that the server hashes what it gets
    UnicodePwd,     // Active Directory (its capability shown): unicodePwd in the add
    ClearInAdd,     // 389 Directory Server (its vendor shown): userPassword in clear text in the add
    PasswordModify, // the Password Modify extended operation (RFC 3062) after the add, shown as supported
};

// The way for a server taken to be of `kind` whose root DSE is `root`. A kind set by hand that the
// root DSE does not bear out gets None: an override in front of another server never sends a
// password that server might keep as it came.
PasswordWay PasswordWayOf(LdapServerKind kind, const RootDse& root);
