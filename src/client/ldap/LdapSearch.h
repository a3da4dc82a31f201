#pragma once

#include "LdapHandles.h"

#include <string>
#include <vector>

// One entry of a listing: its DN as the server sent it, its own name and its base-class name.
struct ListedEntry {
    std::string dn;
    std::string name;
    std::string baseClass;
};

// Immediate subordinates of `baseDn`, in the order the server sends them. Searched without the
// paged-results control, which costs the server far more on large databases; only when the
// server answers sizeLimitExceeded is the container listed again page by page, so containers
// above the server's size limit are listed whole. Returns the LDAP result code.
int ListOneLevel(LDAP* ld, const std::string& baseDn, std::vector<ListedEntry>* entries);

// The naming contexts of the root DSE whose entries exist, each as one top container named by
// all its RDN values ("example.com").
int ListNamingContexts(LDAP* ld, std::vector<ListedEntry>* entries);

// Subordinates of `parentDn` whose own name is `name` (letter case ignored), found with a
// one-level search on the value; for names that no listing has shown yet.
int FindChildren(LDAP* ld, const std::string& parentDn, const std::string& name, std::vector<ListedEntry>* entries);

// The entry `dn` itself, when it exists; for a typed name part that no listing has shown yet.
int ReadEntryAt(LDAP* ld, const std::string& dn, std::vector<ListedEntry>* entries);
