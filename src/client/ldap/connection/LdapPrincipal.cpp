#include "client/ldap/connection/LdapPrincipal.h"

#include "client/ldap/connection/LdapHandles.h"

#include <strings.h>

#include <array>

namespace {
int SearchOne(LDAP* ld, const std::string& base, int scope, const std::string& filter, const char* attribute,
              LdapMessagePtr* result) {
    std::array<char*, 2> attributes{const_cast<char*>(attribute), nullptr};
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, base.c_str(), scope, filter.c_str(), attributes.data(), 0, nullptr, nullptr,
                                       nullptr, 2, &raw);
    result->reset(raw);
    return code;
}

std::string Escaped(const std::string& value) {
    berval in{static_cast<ber_len_t>(value.size()), const_cast<char*>(value.data())};
    berval out{};
    if (ldap_bv2escaped_filter_value(&in, &out) != LDAP_SUCCESS)
        return {};
    const BerMemoryPtr owned(out.bv_val);
    return std::string(owned.get(), out.bv_len);
}

// The DNS name of a DN of dc= parts ("DC=ad,DC=example,DC=com": "ad.example.com").
std::string DnsNameOf(const std::string& dn) {
    LDAPDN raw = nullptr;
    if (ldap_str2dn(dn.c_str(), &raw, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS || !raw)
        return {};
    const LdapDnPtr parts(raw);
    std::string name;
    for (LDAPRDN* rdn = raw; *rdn; ++rdn) {
        const LDAPAVA* ava = (*rdn)[0];
        if ((*rdn)[1] || strncasecmp(ava->la_attr.bv_val, "dc", ava->la_attr.bv_len) != 0 || ava->la_attr.bv_len != 2)
            return {};
        name += (name.empty() ? "" : ".") + std::string(ava->la_value.bv_val, ava->la_value.bv_len);
    }
    return name;
}
} // namespace

int FindPrincipalDn(LDAP* ld, const std::string& principal, std::string* dn) {
    LdapMessagePtr root;
    if (const int code = SearchOne(ld, "", LDAP_SCOPE_BASE, "(objectClass=*)", "defaultNamingContext", &root);
        code != LDAP_SUCCESS)
        return code;
    LDAPMessage* rootEntry = ldap_first_entry(ld, root.get());
    const BervalsPtr contexts(rootEntry ? ldap_get_values_len(ld, rootEntry, "defaultNamingContext") : nullptr);
    if (!contexts || !contexts.get()[0])
        return LDAP_NO_SUCH_OBJECT;
    const std::string base(contexts.get()[0]->bv_val, contexts.get()[0]->bv_len);

    std::string filter = "(userPrincipalName=" + Escaped(principal) + ")";
    if (const auto at = principal.rfind('@');
        at != std::string::npos && strcasecmp(principal.substr(at + 1).c_str(), DnsNameOf(base).c_str()) == 0)
        filter = "(|" + filter + "(sAMAccountName=" + Escaped(principal.substr(0, at)) + "))";
    LdapMessagePtr found;
    if (const int code = SearchOne(ld, base, LDAP_SCOPE_SUBTREE, filter, "1.1", &found); code != LDAP_SUCCESS)
        return code;
    if (ldap_count_entries(ld, found.get()) != 1)
        return LDAP_NO_SUCH_OBJECT;
    const LdapStringPtr name(ldap_get_dn(ld, ldap_first_entry(ld, found.get())));
    if (!name)
        return LDAP_NO_SUCH_OBJECT;
    *dn = name.get();
    return LDAP_SUCCESS;
}
