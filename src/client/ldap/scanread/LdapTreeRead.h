#pragma once

#include "client/ldap/scanread/LdapSiblingOrder.h"

#include <string>
#include <unordered_map>
#include <vector>

// Children of containers by the container's normalised DN, each list in one-level order.
using HeldListings = std::unordered_map<std::string, std::vector<ListedEntry>>;

// What one subtree search of a naming context shows, turned into the listings one-level searches
// of its containers would give: the same entries with the same base classes, in the server's
// one-level order. Only containers the search returned as entries are vouched for, and only when
// the search ended well; a container whose children cannot be put into that order is left out,
// and so is the nearest container above an entry whose parent never came.
class TreeRead {
public:
    // `schema` gives the base classes, as it does to one-level listings; it must outlive the read.
    TreeRead(SiblingOrder order, const ObjectClassSchema& schema) : order_(order), schema_(schema) {}

    // Takes one entry of the search, as a PagedSearch sink does.
    void Add(LDAP* ld, LDAPMessage* entry, const std::string& dn);
    // Ends the read with the search's result code. `firstPageSize` is what the first page of a
    // one-level listing holds. Returns the listings vouched for; the read is empty after it.
    HeldListings Finish(int code, int firstPageSize);

private:
    struct Group {
        std::vector<ListedEntry> children;
        std::vector<std::string> guids; // the children's objectGUIDs, for SiblingOrder::ByObjectGuid
        bool container = false;         // the entry of this DN came, and it is a container
    };
    // Puts a container's children into the server's one-level order; false when that cannot be told.
    bool PutInOrder(Group& group, int firstPageSize) const;
    // Whether the entry of normalised DN `normalised` came in the search.
    bool CameAsEntry(const std::string& normalised) const;

    SiblingOrder order_;
    const ObjectClassSchema& schema_;
    std::unordered_map<std::string, Group> groups_; // by the parent's normalised DN
};
