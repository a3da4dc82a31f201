#include "client/ldap/users/LdapGroups.h"

#include "client/ldap/names/LdapDn.h"
#include "client/ldap/search/LdapSearch.h"
#include "client/ldap/users/LdapModList.h"

#include <strings.h>

#include <algorithm>
#include <charconv>
#include <map>

namespace {
constexpr const char* kGroupFilter =
    "(|(objectClass=posixGroup)(objectClass=groupOfNames)(objectClass=groupOfUniqueNames)(objectClass=group))";

bool HasClass(const std::vector<std::string>& classes, const char* wanted) {
    return std::any_of(classes.begin(), classes.end(),
                       [&](const std::string& held) { return strcasecmp(held.c_str(), wanted) == 0; });
}

// The member attributes of a group with `classes`, each with whether it holds DNs (else login names).
std::map<std::string, bool> MemberAttributes(const std::vector<std::string>& classes) {
    std::map<std::string, bool> attributes;
    if (HasClass(classes, "posixGroup"))
        attributes["memberUid"] = false;
    if (HasClass(classes, "groupOfNames") || HasClass(classes, "group"))
        attributes["member"] = true;
    if (HasClass(classes, "groupOfUniqueNames"))
        attributes["uniqueMember"] = true;
    return attributes;
}

// A group's gidNumber: its first value when that is a number.
std::optional<std::uint32_t> GidNumber(const std::vector<std::string>& values) {
    std::uint32_t number = 0;
    if (values.empty())
        return std::nullopt;
    const std::string& text = values.front();
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

// How a value compares: DNs normalised, login names with ASCII letters folded.
std::string Comparable(const std::string& value, bool dn) {
    return dn ? NormaliseDn(value).value_or(FoldCase(value)) : FoldCase(value);
}

struct GroupRead {
    std::vector<std::string> classes;
    std::map<std::string, std::vector<std::string>> members; // by attribute
};

int ReadGroup(LdapSession& session, const std::string& dn, GroupRead* group) {
    return session.Run([&](LDAP* ld) {
        char* attributes[] = {const_cast<char*>("objectClass"), const_cast<char*>("memberUid"),
                              const_cast<char*>("member"), const_cast<char*>("uniqueMember"), nullptr};
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes, 0, nullptr,
                                           nullptr, nullptr, 1, &raw);
        const LdapMessagePtr result(raw);
        if (code != LDAP_SUCCESS)
            return code;
        LDAPMessage* entry = ldap_first_entry(ld, result.get());
        if (!entry)
            return LDAP_NO_SUCH_OBJECT;
        group->classes = EntryValues(ld, entry, "objectClass");
        for (const char* attribute : {"memberUid", "member", "uniqueMember"})
            group->members[attribute] = EntryValues(ld, entry, attribute);
        return LDAP_SUCCESS;
    });
}

// One modify adding `values` per attribute; attributes without values are left out.
int SendAdd(LdapSession& session, const std::string& dn, std::map<std::string, std::vector<std::string>>& values) {
    LdapModList mods;
    for (auto& [attribute, list] : values) {
        if (!list.empty())
            mods.Add(LDAP_MOD_ADD, attribute, list);
    }
    if (mods.empty())
        return LDAP_SUCCESS;
    LDAPMod** modArray = mods.mods();
    bool sent = false;
    return session.RunWrite([&](LDAP* ld) { return ldap_modify_ext_s(ld, dn.c_str(), modArray, nullptr, nullptr); },
                            &sent);
}
} // namespace

int ListLdapGroups(LDAP* ld, PagingLimits& limits, const ObjectClassSchema& schema,
                   std::vector<DirectoryGroup>* groups) {
    groups->clear();
    std::vector<ListedEntry> contexts;
    if (const int code = ListNamingContexts(ld, schema, &contexts); code != LDAP_SUCCESS)
        return code;
    for (const ListedEntry& context : contexts) {
        SearchRequest request;
        request.base = context.dn;
        request.scope = LDAP_SCOPE_SUBTREE;
        request.filter = kGroupFilter;
        request.attributes = {"cn", "gidNumber"};
        const int code =
            PagedSearch(ld, request, limits, [&](LDAP* entryLd, LDAPMessage* entry, const std::string& dn) {
                const auto parts = SplitDn(dn, false);
                if (!parts)
                    return;
                const std::vector<std::string> names = EntryValues(entryLd, entry, "cn");
                groups->push_back({dn, names.empty() ? parts->leaf.value : names.front(), parts->parent,
                                   GidNumber(EntryValues(entryLd, entry, "gidNumber"))});
            });
        if (code != LDAP_SUCCESS)
            return code;
    }
    return LDAP_SUCCESS;
}

int AddLdapGroupMembers(LdapSession& session, const std::string& groupDn, const std::vector<GroupMember>& members) {
    GroupRead group;
    if (const int code = ReadGroup(session, groupDn, &group); code != LDAP_SUCCESS)
        return code;
    const std::map<std::string, bool> attributes = MemberAttributes(group.classes);
    if (attributes.empty())
        return LDAP_OBJECT_CLASS_VIOLATION;
    std::map<std::string, std::vector<std::string>> values;
    for (const auto& [attribute, dn] : attributes) {
        for (const GroupMember& member : members)
            values[attribute].push_back(dn ? member.directoryName : member.loginName);
    }
    const int code = SendAdd(session, groupDn, values);
    if (code != LDAP_TYPE_OR_VALUE_EXISTS && code != LDAP_ALREADY_EXISTS)
        return code;
    // Some are members already: send only the others.
    if (const int read = ReadGroup(session, groupDn, &group); read != LDAP_SUCCESS)
        return read;
    for (auto& [attribute, list] : values) {
        const bool dn = attributes.at(attribute);
        std::vector<std::string> held;
        for (const std::string& value : group.members[attribute])
            held.push_back(Comparable(value, dn));
        std::erase_if(list, [&](const std::string& value) {
            return std::find(held.begin(), held.end(), Comparable(value, dn)) != held.end();
        });
    }
    return SendAdd(session, groupDn, values);
}
