#include "LdapClasses.h"

#include "LdapDn.h"
#include "SchemaNames.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kKnownClasses{{
    {"organization", kOrganizationClass},
    {"organizationalunit", kOrganizationalUnitClass},
    {"country", kCountryClass},
    {"domain", kOrganizationClass},
    {"person", kUserClass},
    {"organizationalperson", kUserClass},
    {"inetorgperson", kUserClass},
}};

std::string_view Known(std::string_view folded) {
    for (const auto& [ldapClass, baseClass] : kKnownClasses) {
        if (ldapClass == folded)
            return baseClass;
    }
    return {};
}

// Auxiliary or abstract classes that never name what an entry is.
bool IsSupporting(std::string_view folded) {
    return folded == "top" || folded == "dcobject" || folded == "extensibleobject" || folded == "alias" ||
           folded == "simplesecurityobject" || folded == "uidobject";
}
} // namespace

std::string BaseClassName(std::string_view structuralClass, const std::vector<std::string>& objectClasses,
                          std::string_view namingAttribute) {
    std::string chosen(structuralClass);
    if (chosen.empty()) {
        // Without the server's word, a known class wins, else the last specific one listed.
        for (const std::string& candidate : objectClasses) {
            const std::string folded = FoldCase(candidate);
            if (!Known(folded).empty()) {
                if (chosen.empty() || Known(FoldCase(chosen)).empty() || Known(folded) == kUserClass)
                    chosen = candidate;
            } else if (!IsSupporting(folded) && (chosen.empty() || Known(FoldCase(chosen)).empty())) {
                chosen = candidate;
            }
        }
    }
    const std::string folded = FoldCase(chosen);
    const std::string_view known = Known(folded);
    if (FoldCase(namingAttribute) == "dc" && known != kOrganizationalUnitClass && known != kCountryClass)
        return kOrganizationClass;
    if (!known.empty())
        return std::string(known);
    return chosen.empty() ? std::string("Unknown") : chosen;
}
