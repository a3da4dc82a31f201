#include "client/ldap/names/LdapClasses.h"

#include "client/SchemaNames.h"
#include "client/ldap/names/LdapDn.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kKnownClasses{{
    {"organization", kOrganizationClass},
    {"domain", kOrganizationClass},
    {"organizationalunit", kOrganizationalUnitClass},
    {"country", kCountryClass},
    {"person", kUserClass},
    {"organizationalperson", kUserClass},
    {"inetorgperson", kUserClass},
    {"user", kUserClass},
}};

std::string_view Known(std::string_view folded) {
    for (const auto& [ldapClass, baseClass] : kKnownClasses) {
        if (ldapClass == folded)
            return baseClass;
    }
    return {};
}
} // namespace

std::string BaseClassName(const std::vector<std::string>& objectClasses, std::string_view namingAttribute,
                          const ObjectClassSchema& schema) {
    const std::string chosen = schema.MostSpecific(objectClasses);
    const std::string_view known = Known(FoldCase(chosen));
    if (FoldCase(namingAttribute) == "dc" && known != kOrganizationalUnitClass && known != kCountryClass)
        return kOrganizationClass;
    if (!known.empty())
        return std::string(known);
    return chosen.empty() ? std::string("Unknown") : chosen;
}
