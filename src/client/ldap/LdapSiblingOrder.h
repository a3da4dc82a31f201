#pragma once

#include "LdapSearch.h"

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

// The order of the server whose root DSE has these object classes and vendor name.
SiblingOrder ServerSiblingOrder(const std::vector<std::string>& rootObjectClasses, const std::string& vendorName);

// An entry of a read with what orders it among its siblings: the objectGUID for ByObjectGuid, the
// normalised RDN for ByNormalisedRdn; empty when there is none, or none whose order is known.
struct OrderedChild {
    ListedEntry entry;
    std::string key;
};

// The key ByNormalisedRdn orders by, from an entry's normalised first RDN (NormaliseParts): the RDN
// itself when slapd normalises it the same way (one value of a naming attribute compared without
// letter case, printable ASCII with nothing to escape or to trim); empty otherwise.
std::string NormalisedRdnKey(const std::string& normalisedLeaf);

// Puts `children` (as the read delivered them) into `order`. False when their one-level order
// cannot be told: a child without its key, or, for ByNormalisedRdn, more children than the first
// page of a one-level listing (`firstPageSize`) holds.
bool PutInOrder(SiblingOrder order, int firstPageSize, std::vector<OrderedChild>* children);
