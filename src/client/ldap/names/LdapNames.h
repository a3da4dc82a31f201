#pragma once

#include "client/ClientTypes.h"
#include "client/DottedName.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapNameCache.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Dotted names on an LDAP server: the top containers are the server's naming contexts, each level
// below is one RDN. A child is named by its value while no sibling shares that value (letter case
// ignored, as the directory compares); siblings that do are named typed ("ou=Sales", and at the
// top by the naming context's whole DN, "dc=example,dc=com"), so every name handed out names
// exactly one entry.

// The names a listing hands out for `entries`, the children of `parentDn` (empty for the top), in
// their order, as written in dotted names. Empty for an entry that no name can name exactly.
std::vector<std::string> HandOutNames(const std::vector<ListedEntry>& entries, const std::string& parentDn);

// DN of the child of `parentDn` that the typed part `type`=`value` names: one RDN with the value
// taken literally, or at the top (empty parent) the naming context whose DN is that text.
std::optional<std::string> TypedPartDn(const std::string& parentDn, std::string_view type, std::string_view value);

class LdapNames {
public:
    explicit LdapNames(LdapSession& session) : session_(session) {}

    // DN of the container at `path` (top down; the top itself is the empty DN). A name no listing
    // has shown is looked up on the server. A typed part names exactly the child with that RDN;
    // a typeless one the one child with that value, and kAmbiguousName when several have it.
    NWDSCCODE Resolve(const std::vector<NamePart>& path, KnownDn* container);
    // Remembers what a listing of `parentNormalised` showed: all its children when `whole`, only
    // some when the listing was cut short (so a name it did not show is still asked for).
    void Remember(const std::string& parentNormalised, const std::vector<ListedEntry>& entries, bool whole) {
        if (whole)
            cache_.RememberAll(parentNormalised, entries);
        else
            cache_.RememberSome(parentNormalised, entries);
    }

private:
    LdapSession& session_;
    LdapNameCache cache_;
};
