#include "client/ldap/scanread/LdapSiblingOrder.h"

#include "client/ldap/names/LdapDn.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <string_view>

namespace {
// Naming attributes slapd's schema compares without letter case, under their short names.
constexpr std::array<std::string_view, 8> kCaseIgnoredNames{"cn", "ou", "o", "c", "l", "st", "dc", "uid"};

bool PlainValue(std::string_view value) {
    if (value.empty() || value.front() == ' ' || value.back() == ' ' || value.front() == '#')
        return false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c < 0x20 || c > 0x7E || std::string_view(",+\"\\<>;=").find(c) != std::string_view::npos)
            return false;
        // Runs of spaces are one space to the server.
        if (c == ' ' && value[i + 1] == ' ')
            return false;
    }
    return true;
}
} // namespace

SiblingOrder SiblingOrderOf(LdapServerKind kind) {
    switch (kind) {
    case LdapServerKind::OpenLdap:
        return SiblingOrder::ByNormalisedRdn;
    case LdapServerKind::ActiveDirectory:
        return SiblingOrder::ByObjectGuid;
    case LdapServerKind::Dirsrv389:
    case LdapServerKind::Generic:
        break;
    }
    return SiblingOrder::AsDelivered;
}

bool SortByNormalisedRdn(std::vector<ListedEntry>* children) {
    // The DN begins with the entry's own RDN: its attribute, "=", its value.
    const auto attribute = [](const ListedEntry& entry) {
        return std::string_view(entry.dn).substr(0, entry.dn.find('='));
    };
    for (const ListedEntry& child : *children) {
        if (std::find(kCaseIgnoredNames.begin(), kCaseIgnoredNames.end(), FoldCase(attribute(child))) ==
                kCaseIgnoredNames.end() ||
            !PlainValue(child.name))
            return false;
    }
    // Compares "attribute=value" folded, without making it.
    const auto before = [&attribute](const ListedEntry& a, const ListedEntry& b) {
        const std::string_view typeA = attribute(a);
        const std::string_view typeB = attribute(b);
        const std::size_t lengthA = typeA.size() + a.name.size();
        const std::size_t lengthB = typeB.size() + b.name.size();
        if (lengthA != lengthB)
            return lengthA < lengthB;
        const auto at = [](std::string_view type, const std::string& name, std::size_t i) -> unsigned char {
            const char c = i < type.size() ? type[i] : i == type.size() ? '=' : name[i - type.size() - 1];
            return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        };
        for (std::size_t i = 0; i <= lengthA; ++i) {
            if (at(typeA, a.name, i) != at(typeB, b.name, i))
                return at(typeA, a.name, i) < at(typeB, b.name, i);
        }
        return false;
    };
    if (!std::is_sorted(children->begin(), children->end(), before))
        std::stable_sort(children->begin(), children->end(), before);
    return true;
}

bool SortByKeys(std::vector<ListedEntry>* children, const std::vector<std::string>& keys) {
    if (std::any_of(keys.begin(), keys.end(), [](const std::string& key) { return key.empty(); }))
        return false;
    std::vector<std::size_t> order(children->size());
    std::iota(order.begin(), order.end(), 0);
    // Keys compare as unsigned bytes, as the servers' memcmp and strncmp do.
    std::sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        if (keys[a].size() != keys[b].size())
            return keys[a].size() < keys[b].size();
        return keys[a] < keys[b];
    });
    std::vector<ListedEntry> sorted;
    sorted.reserve(children->size());
    for (const std::size_t index : order)
        sorted.push_back(std::move((*children)[index]));
    *children = std::move(sorted);
    return true;
}
