#include "LdapIdentity.h"

#include "ClientTypes.h"

#include <string_view>

int ReadIdentity(LdapSession& session, std::string* identity) {
    BervalPtr authzid;
    const int code = session.Run([&](LDAP* ld) {
        berval* raw = nullptr;
        const int result = ldap_whoami_s(ld, &raw, nullptr, nullptr);
        authzid.reset(raw);
        return result;
    });
    if (code != LDAP_SUCCESS)
        return code;
    std::string_view text = authzid && authzid->bv_val ? std::string_view(authzid->bv_val, authzid->bv_len) : "";
    if (text.starts_with("dn:"))
        text.remove_prefix(3);
    else if (text.starts_with("u:"))
        text.remove_prefix(2);
    *identity = text.empty() ? std::string_view(kPublicIdentity) : text;
    return LDAP_SUCCESS;
}
