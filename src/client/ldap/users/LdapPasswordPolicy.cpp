#include "client/ldap/users/LdapPasswordPolicy.h"

#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/server/LdapServerKind.h"

#include <strings.h>

#include <algorithm>
#include <vector>

namespace {
// The password policy control (draft-behera-ldap-password-policy), which the ppolicy overlay
// registers when slapd loads it.
constexpr const char* kPasswordPolicyControl = "1.3.6.1.4.1.42.2.27.8.5.1";

struct Found {
    int code = LDAP_OTHER;
    std::vector<std::pair<std::string, std::vector<std::string>>> entries; // DN, values of the one attribute
};

// Entries below `base` in `scope` matching `filter`, each with the values of `attribute`.
Found Search(LDAP* ld, const std::string& base, int scope, const char* filter, const char* attribute) {
    Found found;
    char* attributes[] = {const_cast<char*>(attribute), nullptr};
    LDAPMessage* raw = nullptr;
    found.code = ldap_search_ext_s(ld, base.c_str(), scope, filter, attributes, 0, nullptr, nullptr, nullptr,
                                   LDAP_NO_LIMIT, &raw);
    const LdapMessagePtr result(raw);
    if (found.code != LDAP_SUCCESS)
        return found;
    for (LDAPMessage* entry = ldap_first_entry(ld, result.get()); entry; entry = ldap_next_entry(ld, entry)) {
        const LdapStringPtr dn(ldap_get_dn(ld, entry));
        auto& [name, values] = found.entries.emplace_back(dn ? dn.get() : "", std::vector<std::string>{});
        const BervalsPtr held(ldap_get_values_len(ld, entry, attribute));
        for (berval** value = held.get(); value && *value; ++value)
            values.emplace_back((*value)->bv_val, (*value)->bv_len);
    }
    return found;
}

bool Is(const std::vector<std::string>& values, const char* wanted) {
    return values.size() == 1 && strcasecmp(values.front().c_str(), wanted) == 0;
}

int ReadOpenLdapPolicy(LDAP* ld, const RootDse& root, MustChangePolicy* policy) {
    const auto& controls = root.supportedControls;
    if (std::find(controls.begin(), controls.end(), kPasswordPolicyControl) == controls.end()) {
        *policy = MustChangePolicy::NoOverlay;
        return LDAP_SUCCESS;
    }
    *policy = MustChangePolicy::Hidden;
    if (root.configContext.empty())
        return LDAP_SUCCESS;
    // The configuration's own entry comes along: it tells a readable configuration without the overlay
    // from one hidden from us.
    const Found config = Search(ld, root.configContext, LDAP_SCOPE_SUBTREE,
                                "(|(objectClass=olcGlobal)(objectClass=olcPPolicyConfig))", "olcPPolicyDefault");
    if (IsConnectionLoss(config.code))
        return config.code;
    if (config.code != LDAP_SUCCESS || config.entries.empty())
        return LDAP_SUCCESS;
    *policy = MustChangePolicy::NoOverlay;
    for (const auto& [dn, defaults] : config.entries) {
        if (dn == root.configContext)
            continue;
        if (*policy == MustChangePolicy::NoOverlay)
            *policy = MustChangePolicy::DoesNotAsk;
        for (const std::string& policyDn : defaults) {
            const Found entry = Search(ld, policyDn, LDAP_SCOPE_BASE, "(objectClass=*)", "pwdMustChange");
            if (IsConnectionLoss(entry.code))
                return entry.code;
            if (entry.code == LDAP_SUCCESS && !entry.entries.empty() && Is(entry.entries.front().second, "TRUE")) {
                *policy = MustChangePolicy::Asks;
                return LDAP_SUCCESS;
            }
        }
    }
    return LDAP_SUCCESS;
}

int ReadDirsrvPolicy(LDAP* ld, MustChangePolicy* policy) {
    const Found config = Search(ld, "cn=config", LDAP_SCOPE_BASE, "(objectClass=*)", "passwordMustChange");
    if (IsConnectionLoss(config.code))
        return config.code;
    if (config.code != LDAP_SUCCESS || config.entries.empty())
        *policy = MustChangePolicy::Hidden;
    else
        *policy = Is(config.entries.front().second, "on") ? MustChangePolicy::Asks : MustChangePolicy::DoesNotAsk;
    return LDAP_SUCCESS;
}
} // namespace

int ReadMustChangePolicy(LDAP* ld, LdapServerKind kind, const RootDse& root, MustChangePolicy* policy) {
    switch (kind) {
    case LdapServerKind::OpenLdap:
        return ReadOpenLdapPolicy(ld, root, policy);
    case LdapServerKind::Dirsrv389:
        return ReadDirsrvPolicy(ld, policy);
    case LdapServerKind::ActiveDirectory:
        *policy = MustChangePolicy::Asks;
        return LDAP_SUCCESS;
    case LdapServerKind::Generic:
        break;
    }
    *policy = MustChangePolicy::DoesNotAsk;
    return LDAP_SUCCESS;
}

PasswordSupport PasswordSupportOf(LdapServerKind kind, MustChangePolicy policy, bool encrypted) {
    if (kind == LdapServerKind::Generic)
        return {PasswordLimit::UnknownServer, PasswordLimit::UnknownServer};
    if (!encrypted)
        return {PasswordLimit::Unencrypted, PasswordLimit::Unencrypted};
    switch (policy) {
    case MustChangePolicy::Asks:
        return {PasswordLimit::None, PasswordLimit::None};
    case MustChangePolicy::DoesNotAsk:
        return {PasswordLimit::None, PasswordLimit::PolicyOff};
    case MustChangePolicy::NoOverlay:
        return {PasswordLimit::None, PasswordLimit::NoPolicyOverlay};
    case MustChangePolicy::Hidden:
        break;
    }
    return {PasswordLimit::None, kind == LdapServerKind::OpenLdap ? PasswordLimit::None : PasswordLimit::PolicyHidden};
}
