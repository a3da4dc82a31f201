#include "client/ldap/server/LdapRootDse.h"

#include "client/ldap/search/LdapSearch.h"

#include <array>

namespace {
std::string First(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    auto values = EntryValues(ld, entry, attribute);
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
    root->objectClasses = EntryValues(ld, entry, "objectClass");
    root->vendorName = First(ld, entry, "vendorName");
    root->vendorVersion = First(ld, entry, "vendorVersion");
    root->supportedCapabilities = EntryValues(ld, entry, "supportedCapabilities");
    root->supportedControls = EntryValues(ld, entry, "supportedControl");
    root->supportedExtensions = EntryValues(ld, entry, "supportedExtension");
    root->namingContexts = EntryValues(ld, entry, "namingContexts");
    root->defaultNamingContext = First(ld, entry, "defaultNamingContext");
    root->subschemaSubentry = First(ld, entry, "subschemaSubentry");
    root->configContext = First(ld, entry, "configContext");
    return LDAP_SUCCESS;
}
