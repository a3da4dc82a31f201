#include "LdapNameCache.h"

#include "LdapDn.h"
#include "SchemaNames.h"

namespace {
std::string CacheKey(const std::string& parentNormalised, const std::string& name) {
    std::string key = parentNormalised;
    key += '\0';
    key += FoldCase(name);
    return key;
}
} // namespace

void LdapNameCache::Remember(const std::string& parentNormalised, const std::vector<ListedEntry>& entries) {
    for (const ListedEntry& entry : entries) {
        if (!IsContainerClass(entry.baseClass))
            continue;
        auto normalised = NormaliseDn(entry.dn);
        if (normalised)
            names_.insert_or_assign(CacheKey(parentNormalised, entry.name), KnownDn{entry.dn, std::move(*normalised)});
    }
}

const KnownDn* LdapNameCache::Lookup(const std::string& parentNormalised, const std::string& name) const {
    auto it = names_.find(CacheKey(parentNormalised, name));
    return it == names_.end() ? nullptr : &it->second;
}
