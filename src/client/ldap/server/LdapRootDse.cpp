#include "client/ldap/server/LdapRootDse.h"

#include <array>

namespace {
std::vector<std::string> Values(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    std::vector<std::string> values;
    const BervalsPtr raw(ldap_get_values_len(ld, entry, attribute));
    for (berval** value = raw.get(); value && *value; ++value)
        values.emplace_back((*value)->bv_val, (*value)->bv_len);
    return values;
}

std::string First(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    auto values = Values(ld, entry, attribute);
    return values.empty() ? std::string() : std::move(values.front());
}
} // namespace

int ReadRootDse(LDAP* ld, RootDse* root) {
    *root = RootDse{};
    // Operational attributes all: most of the root DSE comes only when asked for by name.
    std::array<char*, 11> attributes{const_cast<char*>("objectClass"),
                                     const_cast<char*>("vendorName"),
                                     const_cast<char*>("vendorVersion"),
                                     const_cast<char*>("supportedCapabilities"),
                                     const_cast<char*>("supportedControl"),
                                     const_cast<char*>("namingContexts"),
                                     const_cast<char*>("defaultNamingContext"),
                                     const_cast<char*>("subschemaSubentry"),
                                     const_cast<char*>("configContext"),
                                     const_cast<char*>("supportedExtension"),
                                     nullptr};
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, "", LDAP_SCOPE_BASE, "(objectClass=*)", attributes.data(), 0, nullptr,
                                       nullptr, nullptr, LDAP_NO_LIMIT, &raw);
    const LdapMessagePtr result(raw);
    if (code != LDAP_SUCCESS)
        return code;
    LDAPMessage* entry = ldap_first_entry(ld, result.get());
    if (!entry)
        return LDAP_NO_SUCH_OBJECT;
    root->objectClasses = Values(ld, entry, "objectClass");
    root->vendorName = First(ld, entry, "vendorName");
    root->vendorVersion = First(ld, entry, "vendorVersion");
    root->supportedCapabilities = Values(ld, entry, "supportedCapabilities");
    root->supportedControls = Values(ld, entry, "supportedControl");
    root->supportedExtensions = Values(ld, entry, "supportedExtension");
    root->namingContexts = Values(ld, entry, "namingContexts");
    root->defaultNamingContext = First(ld, entry, "defaultNamingContext");
    root->subschemaSubentry = First(ld, entry, "subschemaSubentry");
    root->configContext = First(ld, entry, "configContext");
    return LDAP_SUCCESS;
}
