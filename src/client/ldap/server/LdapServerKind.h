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
