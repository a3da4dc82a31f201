#pragma once

#include "client/ldap/search/LdapSearch.h"
#include "client/ldap/server/LdapServerKind.h"

#include <string>
#include <vector>

// The order in which a server's one-level search delivers the entries of a container. A search of
// the whole tree delivers them in an order of its own on some servers, so a listing served from
// such a read is put into this order first.
enum class SiblingOrder {
    // As a search of the whole tree delivers them, by entry id (389 Directory Server, and servers
    // we know nothing about).
    AsDelivered,
    // By objectGUID, byte by byte: Samba's one-level index.
    ByObjectGuid,
    // By normalised RDN, shorter ones first, then byte by byte: slapd's back-mdb, which serves a
    // one-level search without the paged-results control from that index. The paged pages after
    // the first come by entry id, so only containers that fit the first page can be ordered.
    ByNormalisedRdn,
};

// The order of a kind of server. Active Directory's is Samba's, as found on Samba; the read of a
// server that orders otherwise is caught where its top is listed (ScanRead).
SiblingOrder SiblingOrderOf(LdapServerKind kind);

// Puts `children` into slapd's one-level order: by their RDNs as slapd normalises them (the
// attribute and the value in lower case), shorter ones first, then byte by byte. False, and
// `children` unchanged, when an RDN is not one whose normalised form is known here: one value of
// a naming attribute compared without letter case, printable ASCII with nothing to escape or trim.
bool SortByNormalisedRdn(std::vector<ListedEntry>* children);

// Puts `children` into the order of their `keys` (one each, compared as the servers compare them:
// shorter first, then byte by byte). False, and `children` unchanged, when a key is empty.
bool SortByKeys(std::vector<ListedEntry>* children, const std::vector<std::string>& keys);
