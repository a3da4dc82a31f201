#include "UserBind.h"

#include "client/ldap/connection/LdapHandles.h"

BindAnswer BindAsUser(const std::string& uri, const std::string& caFile, const std::string& dn,
                      const std::string& password) {
    BindAnswer answer;
    LDAP* raw = nullptr;
    if ((answer.code = ldap_initialize(&raw, uri.c_str())) != LDAP_SUCCESS)
        return answer;
    const LdapPtr ld(raw);
    const int version = LDAP_VERSION3;
    ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    if (!caFile.empty()) {
        const int demand = LDAP_OPT_X_TLS_DEMAND;
        const int client = 0;
        ldap_set_option(ld.get(), LDAP_OPT_X_TLS_REQUIRE_CERT, &demand);
        ldap_set_option(ld.get(), LDAP_OPT_X_TLS_CACERTFILE, caFile.c_str());
        ldap_set_option(ld.get(), LDAP_OPT_X_TLS_NEWCTX, &client);
    }
    LDAPControl* rawRequest = nullptr;
    if ((answer.code = ldap_create_passwordpolicy_control(ld.get(), &rawRequest)) != LDAP_SUCCESS)
        return answer;
    const LdapControlPtr request(rawRequest);
    LDAPControl* controls[] = {request.get(), nullptr};
    berval credentials{static_cast<ber_len_t>(password.size()), const_cast<char*>(password.data())};
    int id = 0;
    if ((answer.code = ldap_sasl_bind(ld.get(), dn.c_str(), LDAP_SASL_SIMPLE, &credentials, controls, nullptr, &id)) !=
        LDAP_SUCCESS)
        return answer;
    timeval timeout{10, 0};
    LDAPMessage* rawResult = nullptr;
    if (ldap_result(ld.get(), id, LDAP_MSG_ALL, &timeout, &rawResult) <= 0) {
        answer.code = LDAP_TIMEOUT;
        return answer;
    }
    const LdapMessagePtr result(rawResult);
    char* rawText = nullptr;
    LDAPControl** rawControls = nullptr;
    const int parsed =
        ldap_parse_result(ld.get(), result.get(), &answer.code, nullptr, &rawText, nullptr, &rawControls, 0);
    const LdapStringPtr text(rawText);
    const LdapControlsPtr received(rawControls);
    if (parsed != LDAP_SUCCESS) {
        answer.code = parsed;
        return answer;
    }
    answer.text = text ? text.get() : "";
    if (LDAPControl* policy = ldap_control_find(LDAP_CONTROL_PASSWORDPOLICYRESPONSE, rawControls, nullptr)) {
        ber_int_t expire = -1;
        ber_int_t grace = -1;
        LDAPPasswordPolicyError error = PP_noError;
        if (ldap_parse_passwordpolicy_control(ld.get(), policy, &expire, &grace, &error) == LDAP_SUCCESS)
            answer.mustChange = error == PP_changeAfterReset;
    }
    if (ldap_control_find(LDAP_CONTROL_X_PASSWORD_EXPIRED, rawControls, nullptr))
        answer.mustChange = true;
    if (answer.code != LDAP_SUCCESS)
        return answer;
    char* attributes[] = {const_cast<char*>("1.1"), nullptr};
    LDAPMessage* rawSearch = nullptr;
    answer.searchCode = ldap_search_ext_s(ld.get(), dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes, 0,
                                          nullptr, nullptr, &timeout, 1, &rawSearch);
    const LdapMessagePtr search(rawSearch);
    return answer;
}
