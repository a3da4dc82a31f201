#include "client/ldap/connection/LdapSaslBind.h"

#include "client/ResultCodes.h"
#include "client/ldap/connection/LdapHandles.h"

#include <sasl/sasl.h>
#include <strings.h>

#include <cstring>

namespace {
struct SaslDefaults {
    std::string realm;
    std::string authcid;
    std::string authzid;
};

std::string HandleString(LDAP* ld, int option) {
    char* value = nullptr;
    if (ldap_get_option(ld, option, &value) != LDAP_OPT_SUCCESS || !value)
        return {};
    const LdapStringPtr owned(value);
    return owned.get();
}

// Answers the SASL library's questions from the configuration, never from a prompt.
int Interact(LDAP*, unsigned, void* defaults, void* questions) {
    const auto* given = static_cast<const SaslDefaults*>(defaults);
    for (auto* question = static_cast<sasl_interact_t*>(questions); question->id != SASL_CB_LIST_END; ++question) {
        const std::string* answer = question->id == SASL_CB_GETREALM   ? &given->realm
                                    : question->id == SASL_CB_AUTHNAME ? &given->authcid
                                    : question->id == SASL_CB_USER     ? &given->authzid
                                                                       : nullptr;
        const char* text = answer && !answer->empty() ? answer->c_str() : question->defresult;
        question->result = text ? text : "";
        question->len = static_cast<unsigned>(std::strlen(static_cast<const char*>(question->result)));
    }
    return LDAP_SUCCESS;
}
} // namespace

bool IsKerberosMechanism(const std::string& mechanism) {
    return strcasecmp(mechanism.c_str(), "GSSAPI") == 0;
}

int SaslBind(LDAP* ld, const std::string& mechanism, std::optional<std::string>* reported) {
    reported->reset();
    const SaslDefaults defaults{HandleString(ld, LDAP_OPT_X_SASL_REALM), HandleString(ld, LDAP_OPT_X_SASL_AUTHCID),
                                HandleString(ld, LDAP_OPT_X_SASL_AUTHZID)};
    const int code = ldap_sasl_interactive_bind_s(ld, nullptr, mechanism.c_str(), nullptr, nullptr, LDAP_SASL_QUIET,
                                                  Interact, const_cast<SaslDefaults*>(&defaults));
    // The SASL library fails on our side before anything is sent when it has no ticket to offer.
    if (code == LDAP_LOCAL_ERROR || code == LDAP_AUTH_UNKNOWN)
        return rc::kNoKerberosTicket;
    if (code == LDAP_SUCCESS) {
        if (std::string name = HandleString(ld, LDAP_OPT_X_SASL_USERNAME); !name.empty())
            *reported = std::move(name);
    }
    return code;
}

int SaslStrength(LDAP* ld) {
    ber_len_t strength = 0;
    if (ldap_get_option(ld, LDAP_OPT_X_SASL_SSF, &strength) != LDAP_OPT_SUCCESS)
        return 0;
    return static_cast<int>(strength);
}
