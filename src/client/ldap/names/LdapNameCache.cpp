#include "client/ldap/names/LdapNameCache.h"

#include "client/SchemaNames.h"
#include "client/ldap/names/LdapDn.h"

#include <algorithm>

void LdapNameCache::Add(Children& children, const std::vector<ListedEntry>& entries) {
    for (const ListedEntry& entry : entries) {
        if (!IsContainerClass(entry.baseClass))
            continue;
        auto normalised = NormaliseDn(entry.dn);
        if (!normalised)
            continue;
        auto& sameValue = children.byValue[FoldCase(entry.name)];
        if (std::find(sameValue.begin(), sameValue.end(), *normalised) == sameValue.end())
            sameValue.push_back(*normalised);
        std::string key = *normalised;
        children.byDn.insert_or_assign(std::move(key), KnownDn{entry.dn, std::move(*normalised)});
    }
}

void LdapNameCache::RememberAll(const std::string& parentNormalised, const std::vector<ListedEntry>& children) {
    Children& known = parents_[parentNormalised];
    known = Children{};
    known.all = true;
    Add(known, children);
}

void LdapNameCache::RememberSome(const std::string& parentNormalised, const std::vector<ListedEntry>& found,
                                 const std::string* value) {
    Children& known = parents_[parentNormalised];
    if (value)
        known.valuesSearched.insert(FoldCase(*value));
    Add(known, found);
}

const KnownDn* LdapNameCache::Exact(const std::string& parentNormalised, const std::string& childNormalised) const {
    const auto parent = parents_.find(parentNormalised);
    if (parent == parents_.end())
        return nullptr;
    const auto child = parent->second.byDn.find(childNormalised);
    return child == parent->second.byDn.end() ? nullptr : &child->second;
}

std::optional<std::vector<const KnownDn*>> LdapNameCache::ByValue(const std::string& parentNormalised,
                                                                  const std::string& value) const {
    const auto parent = parents_.find(parentNormalised);
    if (parent == parents_.end())
        return std::nullopt;
    const Children& known = parent->second;
    const std::string folded = FoldCase(value);
    if (!known.all && !known.valuesSearched.contains(folded))
        return std::nullopt;
    std::vector<const KnownDn*> found;
    if (const auto sameValue = known.byValue.find(folded); sameValue != known.byValue.end()) {
        for (const std::string& normalised : sameValue->second) {
            if (const auto child = known.byDn.find(normalised); child != known.byDn.end())
                found.push_back(&child->second);
        }
    }
    return found;
}
