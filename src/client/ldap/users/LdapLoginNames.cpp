#include "client/ldap/users/LdapLoginNames.h"

#include "client/ldap/names/LdapDn.h"
#include "client/ldap/search/LdapSearch.h"

#include "client/ldap/users/LdapUserProfile.h"

#include <unordered_map>

namespace {
struct LoginNameAttributes {
    std::vector<std::string> plain; // hold the login name itself
    std::string principal;          // holds <login name>@<suffix>; empty where none
    std::string principalSuffix;
};

LoginNameAttributes AttributesOf(const LdapServerFacts& server) {
    if (server.kind != LdapServerKind::ActiveDirectory)
        return {{"uid"}, {}, {}};
    // The principal name exists only where the add gives one (ActiveDirectoryUser.h).
    if (server.domainDnsName.empty())
        return {{"sAMAccountName"}, {}, {}};
    return {{"sAMAccountName"}, "userPrincipalName", "@" + server.domainDnsName};
}

int Filter(const LoginNameAttributes& attributes, const std::vector<std::string>& loginNames, std::string* filter) {
    *filter = "(|";
    for (const std::string& name : loginNames) {
        std::string value;
        if (const int code = EscapeFilterValue(name, &value); code != LDAP_SUCCESS)
            return code;
        for (const std::string& attribute : attributes.plain)
            *filter += "(" + attribute + "=" + value + ")";
        if (!attributes.principal.empty()) {
            std::string principal;
            if (const int code = EscapeFilterValue(name + attributes.principalSuffix, &principal); code != LDAP_SUCCESS)
                return code;
            *filter += "(" + attributes.principal + "=" + principal + ")";
        }
    }
    *filter += ")";
    return LDAP_SUCCESS;
}

// Login names an entry holds, letter case folded; a principal name counts by the name before its suffix.
void CollectNames(LDAP* ld, LDAPMessage* entry, const std::string& attribute, const std::string& suffix,
                  std::vector<std::string>* names) {
    BervalsPtr raw(ldap_get_values_len(ld, entry, attribute.c_str()));
    const std::string foldedSuffix = FoldCase(suffix);
    for (berval** value = raw.get(); value && *value; ++value) {
        std::string folded = FoldCase(std::string_view((*value)->bv_val, (*value)->bv_len));
        if (folded.size() < foldedSuffix.size() ||
            folded.compare(folded.size() - foldedSuffix.size(), foldedSuffix.size(), foldedSuffix) != 0)
            continue;
        folded.resize(folded.size() - foldedSuffix.size());
        names->push_back(std::move(folded));
    }
}

// The normalised DN the add of `name` in `containerDn` would give its user.
std::string OwnDn(const std::string& containerDn, const std::string& name) {
    const auto dn = ChildDn(containerDn, kUserRdnAttribute, name);
    const auto normalised = dn ? NormaliseDn(*dn) : std::nullopt;
    return normalised.value_or(std::string());
}
} // namespace

int SearchTakenLoginNames(LDAP* ld, PagingLimits& limits, const LdapServerFacts& server, const std::string& baseDn,
                          const std::string& containerDn, const std::vector<std::string>& loginNames,
                          std::vector<std::string>* taken) {
    taken->clear();
    if (loginNames.empty())
        return LDAP_SUCCESS;
    const LoginNameAttributes attributes = AttributesOf(server);
    SearchRequest request;
    request.base = baseDn;
    request.scope = LDAP_SCOPE_SUBTREE;
    if (const int code = Filter(attributes, loginNames, &request.filter); code != LDAP_SUCCESS)
        return code;
    request.attributes = attributes.plain;
    if (!attributes.principal.empty())
        request.attributes.push_back(attributes.principal);

    // Each login name held, with the normalised DNs of the entries holding it.
    std::unordered_multimap<std::string, std::string> holders;
    const int code = PagedSearch(ld, request, limits, [&](LDAP* entryLd, LDAPMessage* entry, const std::string& dn) {
        std::vector<std::string> names;
        for (const std::string& attribute : attributes.plain)
            CollectNames(entryLd, entry, attribute, {}, &names);
        if (!attributes.principal.empty())
            CollectNames(entryLd, entry, attributes.principal, attributes.principalSuffix, &names);
        const std::string normalised = NormaliseDn(dn).value_or(dn);
        for (std::string& name : names)
            holders.emplace(std::move(name), normalised);
    });
    if (code != LDAP_SUCCESS)
        return code;
    for (const std::string& name : loginNames) {
        const auto [first, last] = holders.equal_range(FoldCase(name));
        const std::string own = OwnDn(containerDn, name);
        for (auto holder = first; holder != last; ++holder) {
            if (holder->second != own) {
                taken->push_back(name);
                break;
            }
        }
    }
    return LDAP_SUCCESS;
}
