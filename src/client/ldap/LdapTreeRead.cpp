#include "LdapTreeRead.h"

#include "LdapDn.h"
#include "SchemaNames.h"

#include <algorithm>
#include <functional>

namespace {
std::uint64_t Hash(const std::string& text) {
    return std::hash<std::string>{}(text);
}

// The entry's objectGUID, the 16 bytes as sent; empty when it has none.
std::string ObjectGuid(LDAP* ld, LDAPMessage* entry) {
    BervalsPtr values(ldap_get_values_len(ld, entry, "objectGUID"));
    if (!values || !values.get()[0])
        return {};
    return std::string(values.get()[0]->bv_val, values.get()[0]->bv_len);
}

// The normalised DN one RDN up; nullopt at the top.
std::optional<std::string> Parent(const std::string& normalised) {
    const auto parts = NormaliseParts(normalised);
    if (!parts || parts->parent.empty())
        return std::nullopt;
    return parts->parent;
}
} // namespace

void TreeRead::Add(LDAP* ld, LDAPMessage* entry, const std::string& dn) {
    auto listed = ListedForm(ld, entry, dn);
    auto parts = NormaliseParts(dn);
    if (!listed || !parts)
        return;
    if (IsContainerClass(listed->baseClass))
        groups_[parts->self].container = true;
    else
        others_.push_back(Hash(parts->self));
    std::string key;
    if (order_ == SiblingOrder::ByObjectGuid)
        key = ObjectGuid(ld, entry);
    else if (order_ == SiblingOrder::ByNormalisedRdn)
        key = NormalisedRdnKey(parts->leaf);
    groups_[parts->parent].children.push_back({std::move(*listed), std::move(key)});
}

HeldListings TreeRead::Finish(int code, int firstPageSize) {
    HeldListings held;
    if (code != LDAP_SUCCESS) {
        groups_.clear();
        others_.clear();
        return held;
    }
    std::sort(others_.begin(), others_.end());
    // Children of an entry that never came: the container above them may lack that entry in its
    // listing, so a one-level search lists it.
    std::vector<std::string> unvouched;
    for (const auto& [parent, group] : groups_) {
        if (group.container || std::binary_search(others_.begin(), others_.end(), Hash(parent)))
            continue;
        for (auto above = Parent(parent); above; above = Parent(*above)) {
            if (const auto found = groups_.find(*above); found != groups_.end() && found->second.container) {
                unvouched.push_back(*above);
                break;
            }
        }
    }
    for (const std::string& parent : unvouched)
        groups_.erase(parent);

    for (auto& [parent, group] : groups_) {
        if (!group.container || !PutInOrder(order_, firstPageSize, &group.children))
            continue;
        std::vector<ListedEntry>& listing = held[parent];
        listing.reserve(group.children.size());
        for (OrderedChild& child : group.children)
            listing.push_back(std::move(child.entry));
    }
    groups_.clear();
    others_.clear();
    return held;
}
