#include "client/ldap/users/DirsrvDnaRange.h"

#include "client/ldap/names/LdapDn.h"
#include "client/ldap/search/LdapSearch.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace {
using Values = std::vector<std::string>;

bool HasValue(const Values& values, std::string_view wanted) {
    return std::any_of(values.begin(), values.end(),
                       [&](const std::string& value) { return FoldCase(value) == FoldCase(wanted); });
}

// Whether `dn` is `ancestor` or lies below it.
bool Within(const std::string& dn, const std::string& ancestor) {
    const auto top = NormaliseDn(ancestor);
    std::optional<std::string> current = NormaliseDn(dn);
    while (top && current && !current->empty()) {
        if (*current == *top)
            return true;
        const auto parts = SplitDn(*current, false);
        current = parts ? std::optional<std::string>(parts->parent) : std::nullopt;
    }
    return false;
}

// Whether `filter` matches every user a run adds: a test of one of their object classes, a presence
// test of objectClass, or an AND of such tests. Any other filter counts as no match, so that a user
// is never added with the magic value left in place.
bool MatchesRunUsers(std::string_view filter) {
    if (filter.size() < 3 || filter.front() != '(' || filter.back() != ')')
        return false;
    std::string_view inner = filter.substr(1, filter.size() - 2);
    if (inner.front() == '&') {
        inner.remove_prefix(1);
        int depth = 0;
        std::size_t start = 0;
        bool any = false;
        for (std::size_t i = 0; i < inner.size(); ++i) {
            if (inner[i] == '(' && depth++ == 0) {
                start = i;
            } else if (inner[i] == ')' && --depth == 0) {
                if (!MatchesRunUsers(inner.substr(start, i - start + 1)))
                    return false;
                any = true;
            } else if (depth <= 0 && inner[i] != ' ') {
                return false;
            }
        }
        return any && depth == 0;
    }
    const auto equals = inner.find('=');
    if (equals == std::string_view::npos || FoldCase(inner.substr(0, equals)) != "objectclass")
        return false;
    static constexpr std::array<std::string_view, 6> kUserClasses = {
        "*", "posixaccount", "inetorgperson", "organizationalperson", "person", "top"};
    const std::string value = FoldCase(inner.substr(equals + 1));
    return std::find(kUserClasses.begin(), kUserClasses.end(), value) != kUserClasses.end();
}

std::optional<std::int64_t> Number(const Values& values) {
    std::int64_t number = 0;
    if (values.empty())
        return std::nullopt;
    const std::string& text = values.front();
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

struct DnaConfig {
    Values types, scopes, excludedScopes, filters, magic, next, max;
};

bool AssignsUids(const DnaConfig& config, const std::string& namingContextDn) {
    if (!HasValue(config.types, "uidNumber") || config.magic.empty() || config.filters.size() != 1 ||
        !MatchesRunUsers(config.filters.front()))
        return false;
    const bool covered = std::any_of(config.scopes.begin(), config.scopes.end(),
                                     [&](const std::string& scope) { return Within(namingContextDn, scope); });
    const bool excluded =
        std::any_of(config.excludedScopes.begin(), config.excludedScopes.end(), [&](const std::string& scope) {
            return Within(namingContextDn, scope) || Within(scope, namingContextDn);
        });
    // No dnaMaxValue means no end; a next value past the end means the range is used up.
    const auto next = Number(config.next);
    const auto max = Number(config.max);
    const bool usedUp = next && max && *max >= 0 && *next > *max;
    return covered && !excluded && !usedUp;
}

// The entries `scope` finds below the plugin's entry with `attributes`; a read refused or finding
// nothing gives none. The LDAP code only when the connection was lost.
int ReadPluginEntries(LdapSession& session, int scope, const char* filter, std::vector<const char*> attributes,
                      const std::function<void(LDAP*, LDAPMessage*)>& sink) {
    return session.Run([&](LDAP* ld) {
        attributes.push_back(nullptr);
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, kDnaPluginDn, scope, filter, const_cast<char**>(attributes.data()), 0,
                                           nullptr, nullptr, nullptr, 0, &raw);
        const LdapMessagePtr result(raw);
        if (code != LDAP_SUCCESS)
            return IsConnectionLoss(code) ? code : LDAP_SUCCESS;
        for (LDAPMessage* entry = ldap_first_entry(ld, result.get()); entry; entry = ldap_next_entry(ld, entry))
            sink(ld, entry);
        return LDAP_SUCCESS;
    });
}
} // namespace

int FindDnaUidMagic(LdapSession& session, const std::string& namingContextDn, std::optional<std::string>* magic) {
    *magic = std::nullopt;
    bool enabled = false;
    int code = ReadPluginEntries(session, LDAP_SCOPE_BASE, "(objectClass=*)", {"nsslapd-pluginEnabled"},
                                 [&](LDAP* ld, LDAPMessage* entry) {
                                     enabled = HasValue(EntryValues(ld, entry, "nsslapd-pluginEnabled"), "on");
                                 });
    if (code != LDAP_SUCCESS || !enabled)
        return code;
    return ReadPluginEntries(
        session, LDAP_SCOPE_ONELEVEL, "(dnaType=*)",
        {"dnaType", "dnaScope", "dnaExcludeScope", "dnaFilter", "dnaMagicRegen", "dnaNextValue", "dnaMaxValue"},
        [&](LDAP* ld, LDAPMessage* entry) {
            const DnaConfig config{EntryValues(ld, entry, "dnaType"),         EntryValues(ld, entry, "dnaScope"),
                                   EntryValues(ld, entry, "dnaExcludeScope"), EntryValues(ld, entry, "dnaFilter"),
                                   EntryValues(ld, entry, "dnaMagicRegen"),   EntryValues(ld, entry, "dnaNextValue"),
                                   EntryValues(ld, entry, "dnaMaxValue")};
            if (!*magic && AssignsUids(config, namingContextDn))
                *magic = config.magic.front();
        });
}
