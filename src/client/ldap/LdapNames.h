#pragma once

#include "ClientTypes.h"
#include "LdapNameCache.h"
#include "LdapSession.h"

#include <string>
#include <vector>

// Typeless dotted names on an LDAP server: the top containers are the server's naming contexts,
// each level below is one RDN whose value is the name part.
class LdapNames {
public:
    explicit LdapNames(LdapSession& session) : session_(session) {}

    // DN of the container at `path` (top down; the top itself is the empty DN). A name no listing
    // has shown is looked up on the server.
    NWDSCCODE Resolve(const std::vector<std::string>& path, KnownDn* container);
    // Remembers what a listing of `parentNormalised` showed.
    void Remember(const std::string& parentNormalised, const std::vector<ListedEntry>& entries) {
        cache_.Remember(parentNormalised, entries);
    }

private:
    LdapSession& session_;
    LdapNameCache cache_;
};
