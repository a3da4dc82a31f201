#include "client/ldap/connection/LdapAuthzId.h"

#include "client/ldap/connection/LdapHandles.h"

std::string DnText(std::string_view dn) {
    const std::string text(dn);
    LDAPDN parsed = nullptr;
    if (ldap_str2dn(text.c_str(), &parsed, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
        return text;
    const LdapDnPtr owned(parsed);
    char* out = nullptr;
    if (ldap_dn2str(owned.get(), &out, LDAP_DN_FORMAT_LDAPV3 | LDAP_DN_PRETTY) != LDAP_SUCCESS)
        return text;
    const LdapStringPtr printed(out);
    return printed ? printed.get() : "";
}

std::string AuthzIdName(std::string_view authzId) {
    if (authzId.starts_with("dn:"))
        return DnText(authzId.substr(3));
    if (authzId.starts_with("u:"))
        return std::string(authzId.substr(2));
    return std::string(authzId);
}
