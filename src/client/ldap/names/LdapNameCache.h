#pragma once

#include "client/ldap/search/LdapSearch.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A container's DN as the server spells it, and normalised (NormaliseDn) for comparing.
struct KnownDn {
    std::string dn;
    std::string normalised;
};

// The containers listings and look-ups have shown, below each parent (by its normalised DN): by
// their own normalised DN, which names one child exactly, and by their value (letter case
// ignored), which may name several. What turns a dotted name into a DN without asking the
// server again.
class LdapNameCache {
public:
    // `children` are all the children of the container `parentNormalised` (a whole listing):
    // what was known of it before is dropped. Only containers are ever named as a parent, so
    // other entries are not kept.
    void RememberAll(const std::string& parentNormalised, const std::vector<ListedEntry>& children);
    // `found` are some children of `parentNormalised`; with `value`, every child named by it.
    void RememberSome(const std::string& parentNormalised, const std::vector<ListedEntry>& found,
                      const std::string* value = nullptr);

    // The child of `parentNormalised` whose normalised DN is `childNormalised`; null when none is known.
    const KnownDn* Exact(const std::string& parentNormalised, const std::string& childNormalised) const;
    // Every child of `parentNormalised` whose name is `value`, letter case ignored; nullopt when
    // neither a whole listing of the parent nor a search for that value has been remembered, so
    // the children known may not be all of them.
    std::optional<std::vector<const KnownDn*>> ByValue(const std::string& parentNormalised,
                                                       const std::string& value) const;

private:
    struct Children {
        std::unordered_map<std::string, KnownDn> byDn;                     // by normalised DN
        std::unordered_map<std::string, std::vector<std::string>> byValue; // folded value -> normalised DNs
        std::unordered_set<std::string> valuesSearched;                    // folded
        bool all = false;
    };
    static void Add(Children& children, const std::vector<ListedEntry>& entries);

    std::unordered_map<std::string, Children> parents_;
};
