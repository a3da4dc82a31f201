#pragma once

#include "LdapSearch.h"

#include <string>
#include <unordered_map>
#include <vector>

// A container's DN as the server spells it, and normalised (NormaliseDn) for comparing.
struct KnownDn {
    std::string dn;
    std::string normalised;
};

// The containers listings and look-ups have shown, by their parent's normalised DN and their name
// (letter case ignored): what turns a dotted name into a DN without asking the server again.
class LdapNameCache {
public:
    // Remembers the containers among `entries`, listed below the container `parentNormalised`.
    // Only containers are ever named as a parent; other entries are found by search when named.
    void Remember(const std::string& parentNormalised, const std::vector<ListedEntry>& entries);
    // The child `name` of `parentNormalised`; null when no listing or look-up has shown it.
    const KnownDn* Lookup(const std::string& parentNormalised, const std::string& name) const;

private:
    std::unordered_map<std::string, KnownDn> names_;
};
