#include "client/ldap/users/LdapPasswordPolicy.h"

#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/server/LdapServerKind.h"

#include <strings.h>

#include <algorithm>
#include <optional>
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

// Whether the policy entry `policyDn` says pwdMustChange TRUE; LDAP code only for a lost connection.
int PolicyAsks(LDAP* ld, const std::string& policyDn, bool* asks) {
    const Found entry = Search(ld, policyDn, LDAP_SCOPE_BASE, "(objectClass=*)", "pwdMustChange");
    if (IsConnectionLoss(entry.code))
        return entry.code;
    *asks = entry.code == LDAP_SUCCESS && !entry.entries.empty() && Is(entry.entries.front().second, "TRUE");
    return LDAP_SUCCESS;
}

// The normalised DN of the configuration entry an overlay's entry sits below.
std::string ParentOf(const std::string& dn) {
    const auto parts = SplitDn(dn, false);
    return parts ? parts->parent : std::string();
}

int ReadOpenLdapPolicy(LDAP* ld, const RootDse& root, MustChangePolicies* policies) {
    *policies = MustChangePolicies{};
    const auto& controls = root.supportedControls;
    if (std::find(controls.begin(), controls.end(), kPasswordPolicyControl) == controls.end()) {
        policies->whole = MustChangePolicy::NoOverlay;
        return LDAP_SUCCESS;
    }
    policies->whole = MustChangePolicy::Hidden;
    if (root.configContext.empty())
        return LDAP_SUCCESS;
    // The configuration's own entry comes along: it tells a readable configuration without the overlay
    // from one hidden from us. Each database comes with its suffixes, each overlay with its default.
    const Found config = Search(ld, root.configContext, LDAP_SCOPE_SUBTREE,
                                "(|(objectClass=olcGlobal)(objectClass=olcDatabaseConfig))", "olcSuffix");
    if (IsConnectionLoss(config.code))
        return config.code;
    if (config.code != LDAP_SUCCESS || config.entries.empty())
        return LDAP_SUCCESS;
    const Found overlays =
        Search(ld, root.configContext, LDAP_SCOPE_SUBTREE, "(objectClass=olcPPolicyConfig)", "olcPPolicyDefault");
    if (IsConnectionLoss(overlays.code))
        return overlays.code;
    // Database entry (normalised) -> whether its overlay's default policy asks; the frontend's
    // overlay stands for every database without one of its own.
    std::vector<std::pair<std::string, MustChangePolicy>> byDatabase;
    std::optional<MustChangePolicy> frontend;
    policies->whole = MustChangePolicy::NoOverlay;
    for (const auto& [dn, defaults] : overlays.entries) {
        bool asks = false;
        for (const std::string& policyDn : defaults) {
            if (const int code = PolicyAsks(ld, policyDn, &asks); code != LDAP_SUCCESS)
                return code;
        }
        const MustChangePolicy policy = asks ? MustChangePolicy::Asks : MustChangePolicy::DoesNotAsk;
        if (policies->whole != MustChangePolicy::Asks)
            policies->whole = policy;
        const std::string database = ParentOf(dn);
        if (database.find("frontend") != std::string::npos)
            frontend = policy;
        byDatabase.emplace_back(database, policy);
    }
    for (const auto& [dn, suffixes] : config.entries) {
        const auto self = NormaliseDn(dn);
        if (!self)
            continue;
        MustChangePolicy policy = frontend.value_or(MustChangePolicy::NoOverlay);
        for (const auto& [database, own] : byDatabase) {
            if (database == *self)
                policy = own;
        }
        for (const std::string& suffix : suffixes) {
            if (auto normal = NormaliseDn(suffix))
                policies->bySuffix.emplace_back(std::move(*normal), policy);
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

int ReadMustChangePolicy(LDAP* ld, LdapServerKind kind, const RootDse& root, MustChangePolicies* policies) {
    *policies = MustChangePolicies{};
    switch (kind) {
    case LdapServerKind::OpenLdap:
        return ReadOpenLdapPolicy(ld, root, policies);
    case LdapServerKind::Dirsrv389:
        return ReadDirsrvPolicy(ld, &policies->whole);
    case LdapServerKind::ActiveDirectory:
        policies->whole = MustChangePolicy::Asks;
        return LDAP_SUCCESS;
    case LdapServerKind::Generic:
        break;
    }
    policies->whole = MustChangePolicy::DoesNotAsk;
    return LDAP_SUCCESS;
}

MustChangePolicy MustChangePolicies::For(const std::string& dn) const {
    const auto normal = NormaliseDn(dn);
    if (!normal || bySuffix.empty())
        return whole;
    // The database holding `dn` is the one with the longest suffix that ends it at an RDN's border
    // (a "," no backslash escapes).
    const auto holds = [&](const std::string& suffix) {
        if (*normal == suffix)
            return true;
        const std::size_t at = normal->size() - suffix.size();
        return normal->size() > suffix.size() + 1 && normal->ends_with(suffix) && (*normal)[at - 1] == ',' &&
               (*normal)[at - 2] != '\\';
    };
    const std::pair<std::string, MustChangePolicy>* holder = nullptr;
    for (const auto& entry : bySuffix) {
        if (holds(entry.first) && (!holder || entry.first.size() > holder->first.size()))
            holder = &entry;
    }
    return holder ? holder->second : MustChangePolicy::NoOverlay;
}

PasswordSupport PasswordSupportOf(LdapServerKind kind, PasswordWay way, MustChangePolicy policy, bool encrypted) {
    if (way == PasswordWay::None)
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
