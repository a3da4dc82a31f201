#include "LdapSearch.h"

#include "LdapClasses.h"
#include "LdapDn.h"

#include <algorithm>
#include <array>

namespace {
// The structural class is operational: it comes only when asked for by name.
std::array<char*, 3> kListAttributes{const_cast<char*>("objectClass"), const_cast<char*>("structuralObjectClass"),
                                     nullptr};
const char* const kAnyEntry = "(objectClass=*)";

std::vector<std::string> Values(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    std::vector<std::string> values;
    BervalsPtr raw(ldap_get_values_len(ld, entry, attribute));
    if (raw) {
        for (berval** value = raw.get(); *value; ++value)
            values.emplace_back((*value)->bv_val, (*value)->bv_len);
    }
    return values;
}

// Appends the entries of a search result in the order they came.
void CollectEntries(LDAP* ld, LDAPMessage* result, bool namingContexts, std::vector<ListedEntry>* entries) {
    for (LDAPMessage* entry = ldap_first_entry(ld, result); entry; entry = ldap_next_entry(ld, entry)) {
        LdapStringPtr dn(ldap_get_dn(ld, entry));
        if (!dn)
            continue;
        const auto leaf = LeafName(dn.get());
        const auto name = namingContexts ? NamingContextName(dn.get()) : std::optional<std::string>();
        if (!leaf || (namingContexts && !name))
            continue;
        const auto structural = Values(ld, entry, "structuralObjectClass");
        ListedEntry listed;
        listed.dn = dn.get();
        listed.name = namingContexts ? *name : leaf->value;
        listed.baseClass = BaseClassName(structural.empty() ? std::string() : structural.front(),
                                         Values(ld, entry, "objectClass"), leaf->attribute);
        entries->push_back(std::move(listed));
    }
}

int Search(LDAP* ld, const std::string& base, int scope, const char* filter, char** attributes, LDAPControl** controls,
           LdapMessagePtr* result) {
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, base.c_str(), scope, filter, attributes, 0, controls, nullptr, nullptr,
                                       LDAP_NO_LIMIT, &raw);
    result->reset(raw);
    return code;
}

int ListPaged(LDAP* ld, const std::string& baseDn, int pageSize, std::vector<ListedEntry>* entries) {
    std::string cookie;
    do {
        berval cookieValue{static_cast<ber_len_t>(cookie.size()), cookie.data()};
        LDAPControl* rawPage = nullptr;
        if (const int code = ldap_create_page_control(ld, pageSize, &cookieValue, 1, &rawPage); code != LDAP_SUCCESS)
            return code;
        LdapControlPtr page(rawPage);
        std::array<LDAPControl*, 2> controls{page.get(), nullptr};
        LdapMessagePtr result;
        const int code =
            Search(ld, baseDn, LDAP_SCOPE_ONELEVEL, kAnyEntry, kListAttributes.data(), controls.data(), &result);
        if (code != LDAP_SUCCESS)
            return code;
        CollectEntries(ld, result.get(), false, entries);

        LDAPMessage* done = ldap_first_message(ld, result.get());
        while (done && ldap_msgtype(done) != LDAP_RES_SEARCH_RESULT)
            done = ldap_next_message(ld, done);
        if (!done)
            return LDAP_OTHER;
        LDAPControl** rawServerControls = nullptr;
        int resultCode = LDAP_SUCCESS;
        if (const int parsed =
                ldap_parse_result(ld, done, &resultCode, nullptr, nullptr, nullptr, &rawServerControls, 0);
            parsed != LDAP_SUCCESS)
            return parsed;
        LdapControlsPtr serverControls(rawServerControls);
        LDAPControl* response = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, serverControls.get(), nullptr);
        if (!response)
            return LDAP_SUCCESS;
        ber_int_t estimate = 0;
        berval next{};
        const int parsed = ldap_parse_pageresponse_control(ld, response, &estimate, &next);
        const BerMemoryPtr nextCookie(next.bv_val);
        if (parsed != LDAP_SUCCESS)
            return parsed;
        cookie.assign(nextCookie ? nextCookie.get() : "", nextCookie ? next.bv_len : 0);
    } while (!cookie.empty());
    return LDAP_SUCCESS;
}
} // namespace

int ListOneLevel(LDAP* ld, const std::string& baseDn, std::vector<ListedEntry>* entries) {
    entries->clear();
    LdapMessagePtr result;
    const int code = Search(ld, baseDn, LDAP_SCOPE_ONELEVEL, kAnyEntry, kListAttributes.data(), nullptr, &result);
    if (code != LDAP_SIZELIMIT_EXCEEDED) {
        if (code == LDAP_SUCCESS)
            CollectEntries(ld, result.get(), false, entries);
        return code;
    }
    // The server stopped at its size limit for us: pages of that size stay within it.
    const int pageSize = std::max(ldap_count_entries(ld, result.get()), 1);
    result.reset();
    return ListPaged(ld, baseDn, pageSize, entries);
}

int ListNamingContexts(LDAP* ld, std::vector<ListedEntry>* entries) {
    entries->clear();
    std::array<char*, 2> attributes{const_cast<char*>("namingContexts"), nullptr};
    LdapMessagePtr rootDse;
    if (const int code = Search(ld, "", LDAP_SCOPE_BASE, kAnyEntry, attributes.data(), nullptr, &rootDse);
        code != LDAP_SUCCESS)
        return code;
    LDAPMessage* root = ldap_first_entry(ld, rootDse.get());
    if (!root)
        return LDAP_SUCCESS;
    for (const std::string& context : Values(ld, root, "namingContexts")) {
        LdapMessagePtr top;
        const int code = Search(ld, context, LDAP_SCOPE_BASE, kAnyEntry, kListAttributes.data(), nullptr, &top);
        // A context whose top entry is missing or hidden from us is no container to browse.
        if (code == LDAP_NO_SUCH_OBJECT || code == LDAP_INSUFFICIENT_ACCESS || code == LDAP_REFERRAL)
            continue;
        if (code != LDAP_SUCCESS)
            return code;
        CollectEntries(ld, top.get(), true, entries);
    }
    return LDAP_SUCCESS;
}

int FindChildren(LDAP* ld, const std::string& parentDn, const std::string& name, std::vector<ListedEntry>* entries) {
    entries->clear();
    berval value{static_cast<ber_len_t>(name.size()), const_cast<char*>(name.data())};
    berval escaped{};
    const int escapedCode = ldap_bv2escaped_filter_value(&value, &escaped);
    const BerMemoryPtr escapedValue(escaped.bv_val);
    if (escapedCode != LDAP_SUCCESS)
        return escapedCode;
    const std::string v(escapedValue.get(), escaped.bv_len);
    std::string filter = "(|";
    for (const char* attribute : {"cn", "ou", "o", "c", "dc", "l", "uid"})
        filter += std::string("(") + attribute + "=" + v + ")";
    filter += ")";

    LdapMessagePtr result;
    const int code =
        Search(ld, parentDn, LDAP_SCOPE_ONELEVEL, filter.c_str(), kListAttributes.data(), nullptr, &result);
    if (code != LDAP_SUCCESS && code != LDAP_SIZELIMIT_EXCEEDED)
        return code;
    std::vector<ListedEntry> found;
    CollectEntries(ld, result.get(), false, &found);
    const std::string wanted = FoldCase(name);
    for (ListedEntry& entry : found) {
        if (FoldCase(entry.name) == wanted)
            entries->push_back(std::move(entry));
    }
    return LDAP_SUCCESS;
}

int ReadEntryAt(LDAP* ld, const std::string& dn, std::vector<ListedEntry>* entries) {
    entries->clear();
    LdapMessagePtr result;
    const int code = Search(ld, dn, LDAP_SCOPE_BASE, kAnyEntry, kListAttributes.data(), nullptr, &result);
    if (code == LDAP_NO_SUCH_OBJECT)
        return LDAP_SUCCESS;
    if (code == LDAP_SUCCESS)
        CollectEntries(ld, result.get(), false, entries);
    return code;
}
