#pragma once

#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/search/LdapPagedSearch.h"
#include "client/ldap/server/LdapObjectClasses.h"

#include <string>
#include <string_view>
#include <vector>

// The values of `attribute` of a search result's `entry`, each as the server sent it; none when it
// has none.
std::vector<std::string> EntryValues(LDAP* ld, LDAPMessage* entry, const char* attribute);

// One entry of a listing: its DN as the server sent it, its own name and its base-class name (by the
// server's object classes, `schema` in the functions below).
struct ListedEntry {
    std::string dn;
    std::string name;
    std::string baseClass;
};

// A search for listed entries below `base` (names and the classes their base class comes from).
SearchRequest ListingRequest(const std::string& base, int scope, std::string filter = "(objectClass=*)");
// The listed form of one entry of such a search, whose own name `leaf` is (LeafName of `dn`).
ListedEntry ListedForm(LDAP* ld, LDAPMessage* entry, const std::string& dn, const RdnName& leaf,
                       const ObjectClassSchema& schema);

// Immediate subordinates of `baseDn`, in the order the server sends them, page by page
// (PagedSearch). Returns the LDAP result code; a listing cut short keeps the entries received.
int ListOneLevel(LDAP* ld, const std::string& baseDn, PagingLimits& limits, const ObjectClassSchema& schema,
                 std::vector<ListedEntry>* entries);

// The naming contexts of the root DSE whose entries exist, each as one top container named by
// all its RDN values ("example.com").
int ListNamingContexts(LDAP* ld, const ObjectClassSchema& schema, std::vector<ListedEntry>* entries);

// `value` as it stands in a search filter, every special character escaped. The LDAP code.
int EscapeFilterValue(std::string_view value, std::string* escaped);

// Subordinates of `parentDn` whose own name is `name` (letter case ignored), found with a
// one-level search on the value; for names that no listing has shown yet. A search cut short
// returns its code: a namesake it missed would make the answer a guess.
int FindChildren(LDAP* ld, const std::string& parentDn, const std::string& name, PagingLimits& limits,
                 const ObjectClassSchema& schema, std::vector<ListedEntry>* entries);

// The entry `dn` itself, when it exists; for a typed name part that no listing has shown yet.
int ReadEntryAt(LDAP* ld, const std::string& dn, const ObjectClassSchema& schema, std::vector<ListedEntry>* entries);
