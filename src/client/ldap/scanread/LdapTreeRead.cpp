#include "client/ldap/scanread/LdapTreeRead.h"

#include "client/SchemaNames.h"
#include "client/ldap/names/LdapDn.h"

#include <algorithm>

namespace {
// The entry's objectGUID, the 16 bytes as sent; empty when it has none or another value.
std::string ObjectGuid(LDAP* ld, LDAPMessage* entry) {
    BervalsPtr values(ldap_get_values_len(ld, entry, "objectGUID"));
    if (!values || !values.get()[0] || values.get()[0]->bv_len != 16)
        return {};
    return std::string(values.get()[0]->bv_val, values.get()[0]->bv_len);
}

// The normalised DN one RDN up; nullopt at the top.
std::optional<std::string> Parent(const std::string& normalised) {
    const auto parts = SplitDn(normalised, false);
    if (!parts || parts->parent.empty())
        return std::nullopt;
    return parts->parent;
}
} // namespace

void TreeRead::Add(LDAP* ld, LDAPMessage* entry, const std::string& dn) {
    auto parts = SplitDn(dn, false);
    if (!parts)
        return;
    ListedEntry listed = ListedForm(ld, entry, dn, parts->leaf, schema_);
    if (IsContainerClass(listed.baseClass)) {
        if (const auto self = NormaliseDn(dn))
            groups_[*self].container = true;
    }
    Group& group = groups_[parts->parent];
    group.children.push_back(std::move(listed));
    if (order_ == SiblingOrder::ByObjectGuid)
        group.guids.push_back(ObjectGuid(ld, entry));
}

bool TreeRead::CameAsEntry(const std::string& normalised) const {
    const auto parent = Parent(normalised);
    const auto group = parent ? groups_.find(*parent) : groups_.end();
    return group != groups_.end() &&
           std::any_of(group->second.children.begin(), group->second.children.end(),
                       [&normalised](const ListedEntry& child) { return NormaliseDn(child.dn) == normalised; });
}

bool TreeRead::PutInOrder(Group& group, int firstPageSize) const {
    switch (order_) {
    case SiblingOrder::AsDelivered:
        return true;
    case SiblingOrder::ByObjectGuid:
        return SortByKeys(&group.children, group.guids);
    case SiblingOrder::ByNormalisedRdn:
        return group.children.size() <= static_cast<std::size_t>(firstPageSize) && SortByNormalisedRdn(&group.children);
    }
    return false;
}

HeldListings TreeRead::Finish(int code, int firstPageSize) {
    HeldListings held;
    if (code == LDAP_SUCCESS) {
        // Children of an entry that never came: the container above them may lack that entry in
        // its listing, so a one-level search lists it. (Children of other entries are never listed.)
        std::vector<std::string> unvouched;
        for (const auto& [parent, group] : groups_) {
            if (group.container || CameAsEntry(parent))
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
        // Each group goes over whole, its memory freed as it goes.
        held.reserve(groups_.size());
        for (auto it = groups_.begin(); it != groups_.end();) {
            auto node = groups_.extract(it++);
            Group& group = node.mapped();
            if (!group.container || !PutInOrder(group, firstPageSize))
                continue;
            group.children.shrink_to_fit();
            held.emplace(std::move(node.key()), std::move(group.children));
        }
    }
    groups_.clear();
    return held;
}
