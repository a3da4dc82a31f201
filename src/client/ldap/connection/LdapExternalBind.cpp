#include "client/ldap/connection/LdapExternalBind.h"

#include <array>

int ExternalBind(LDAP* ld, std::optional<std::string>* reported) {
    reported->reset();
    LDAPControl* rawRequest = nullptr;
    if (const int code = ldap_control_create(LDAP_CONTROL_AUTHZID_REQUEST, 0, nullptr, 0, &rawRequest);
        code != LDAP_SUCCESS)
        return code;
    const LdapControlPtr request(rawRequest);
    std::array<LDAPControl*, 2> controls{request.get(), nullptr};
    // An empty authorisation identity must be sent, or slapd waits for another round.
    berval noAuthzid{0, const_cast<char*>("")};
    int messageId = 0;
    if (const int code = ldap_sasl_bind(ld, nullptr, "EXTERNAL", &noAuthzid, controls.data(), nullptr, &messageId);
        code != LDAP_SUCCESS)
        return code;

    timeval* rawTimeout = nullptr;
    if (const int got = ldap_get_option(ld, LDAP_OPT_TIMEOUT, &rawTimeout); got != LDAP_OPT_SUCCESS) {
        ldap_abandon_ext(ld, messageId, nullptr, nullptr);
        return got;
    }
    const CHandle<timeval, ldap_memfree> timeout(rawTimeout);
    LDAPMessage* rawResult = nullptr;
    const int got = ldap_result(ld, messageId, LDAP_MSG_ALL, timeout.get(), &rawResult);
    const LdapMessagePtr result(rawResult);
    if (got == 0) {
        ldap_abandon_ext(ld, messageId, nullptr, nullptr);
        return LDAP_TIMEOUT;
    }
    if (got < 0) {
        int code = LDAP_OTHER;
        if (ldap_get_option(ld, LDAP_OPT_RESULT_CODE, &code) != LDAP_OPT_SUCCESS || code == LDAP_SUCCESS)
            code = LDAP_OTHER;
        return code;
    }
    int resultCode = LDAP_OTHER;
    LDAPControl** rawResponse = nullptr;
    if (const int parsed = ldap_parse_result(ld, result.get(), &resultCode, nullptr, nullptr, nullptr, &rawResponse, 0);
        parsed != LDAP_SUCCESS)
        return parsed;
    const LdapControlsPtr response(rawResponse);
    if (resultCode == LDAP_SUCCESS) {
        if (const LDAPControl* identity = ldap_control_find(LDAP_CONTROL_AUTHZID_RESPONSE, response.get(), nullptr))
            reported->emplace(identity->ldctl_value.bv_val ? identity->ldctl_value.bv_val : "",
                              identity->ldctl_value.bv_len);
    }
    return resultCode;
}
