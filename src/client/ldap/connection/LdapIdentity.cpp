#include "client/ldap/connection/LdapIdentity.h"

#include "client/ClientTypes.h"
#include "client/ldap/connection/LdapAuthzId.h"

#include <string_view>

int ReadIdentity(LdapSession& session, std::string* identity) {
    BervalPtr authzid;
    const int code = session.Run([&](LDAP* ld) {
        berval* raw = nullptr;
        const int result = ldap_whoami_s(ld, &raw, nullptr, nullptr);
        authzid.reset(raw);
        return result;
    });
    std::string name;
    if (code == LDAP_SUCCESS) {
        name = AuthzIdName(authzid && authzid->bv_val ? std::string_view(authzid->bv_val, authzid->bv_len) : "");
    } else {
        // A server without WhoAmI (Samba answers protocolError): the identity the session bound as.
        const auto& bound = session.boundIdentity();
        if (IsConnectionLoss(code) || !bound)
            return code;
        name = *bound;
    }
    *identity = name.empty() ? std::string(kPublicIdentity) : name;
    return LDAP_SUCCESS;
}
