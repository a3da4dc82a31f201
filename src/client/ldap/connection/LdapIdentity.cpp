#include "client/ldap/connection/LdapIdentity.h"

#include "client/ClientTypes.h"
#include "client/ldap/connection/LdapAuthzId.h"
#include "client/ldap/connection/LdapPrincipal.h"

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
        // A server without WhoAmI (Samba answers protocolError): the identity the session bound as,
        // or, after a Kerberos bind, the entry of its principal.
        const auto& bound = session.boundIdentity();
        if (IsConnectionLoss(code))
            return code;
        if (bound) {
            name = *bound;
        } else if (const std::string& principal = session.kerberosPrincipal(); !principal.empty()) {
            if (const int found = session.Run([&](LDAP* ld) { return FindPrincipalDn(ld, principal, &name); });
                found != LDAP_SUCCESS)
                return found;
        } else {
            return code;
        }
    }
    *identity = name.empty() ? std::string(kPublicIdentity) : name;
    return LDAP_SUCCESS;
}
