#include "LdapSiblingOrder.h"

#include "LdapDn.h"

#include <algorithm>
#include <array>
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

SiblingOrder ServerSiblingOrder(const std::vector<std::string>& rootObjectClasses, const std::string& vendorName) {
    if (vendorName.starts_with("Samba"))
        return SiblingOrder::ByObjectGuid;
    for (const std::string& objectClass : rootObjectClasses) {
        if (FoldCase(objectClass) == "openldaprootdse")
            return SiblingOrder::ByNormalisedRdn;
    }
    return SiblingOrder::AsDelivered;
}

std::string NormalisedRdnKey(const std::string& normalisedLeaf) {
    const auto equals = normalisedLeaf.find('=');
    if (equals == std::string::npos)
        return {};
    const std::string_view attribute(normalisedLeaf.data(), equals);
    if (std::find(kCaseIgnoredNames.begin(), kCaseIgnoredNames.end(), attribute) == kCaseIgnoredNames.end() ||
        !PlainValue(std::string_view(normalisedLeaf).substr(equals + 1)))
        return {};
    return normalisedLeaf;
}

bool PutInOrder(SiblingOrder order, int firstPageSize, std::vector<OrderedChild>* children) {
    if (order == SiblingOrder::AsDelivered)
        return true;
    if (order == SiblingOrder::ByNormalisedRdn && children->size() > static_cast<std::size_t>(firstPageSize))
        return false;
    const std::size_t keyLength = order == SiblingOrder::ByObjectGuid ? 16 : 0;
    for (const OrderedChild& child : *children) {
        if (child.key.empty() || (keyLength != 0 && child.key.size() != keyLength))
            return false;
    }
    // Keys compare as unsigned bytes, as the servers' memcmp and strncmp do.
    std::sort(children->begin(), children->end(), [](const OrderedChild& a, const OrderedChild& b) {
        if (a.key.size() != b.key.size())
            return a.key.size() < b.key.size();
        return a.key < b.key;
    });
    return true;
}
