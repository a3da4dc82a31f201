#include "client/ldap/search/LdapSearch.h"

#include "client/ldap/names/LdapClasses.h"
#include "client/ldap/names/LdapDn.h"

#include <array>
#include <optional>

namespace {
// The structural class is operational: it comes only when asked for by name.
std::array<char*, 3> kListAttributes{const_cast<char*>("objectClass"), const_cast<char*>("structuralObjectClass"),
                                     nullptr};
const char* const kAnyEntry = "(objectClass=*)";

// The listed form of one entry; false when its DN cannot name it.
bool ToListedEntry(LDAP* ld, LDAPMessage* entry, const std::string& dn, bool namingContext,
                   const ObjectClassSchema& schema, ListedEntry* listed) {
    const auto leaf = LeafName(dn);
    const auto name = namingContext ? NamingContextName(dn) : std::optional<std::string>();
    if (!leaf || (namingContext && !name))
        return false;
    *listed = ListedForm(ld, entry, dn, *leaf, schema);
    if (namingContext)
        listed->name = *name;
    return true;
}

// Appends the top entries of naming contexts in a search result, each named by all its RDN values.
void CollectNamingContexts(LDAP* ld, LDAPMessage* result, const ObjectClassSchema& schema,
                           std::vector<ListedEntry>* entries) {
    for (LDAPMessage* entry = ldap_first_entry(ld, result); entry; entry = ldap_next_entry(ld, entry)) {
        LdapStringPtr dn(ldap_get_dn(ld, entry));
        ListedEntry listed;
        if (dn && ToListedEntry(ld, entry, dn.get(), true, schema, &listed))
            entries->push_back(std::move(listed));
    }
}

// A sink that appends each entry's listed form to `entries`.
EntrySink Collector(const ObjectClassSchema& schema, std::vector<ListedEntry>* entries) {
    return [&schema, entries](LDAP* ld, LDAPMessage* entry, const std::string& dn) {
        ListedEntry listed;
        if (ToListedEntry(ld, entry, dn, false, schema, &listed))
            entries->push_back(std::move(listed));
    };
}

int Search(LDAP* ld, const std::string& base, int scope, const char* filter, char** attributes,
           LdapMessagePtr* result) {
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, base.c_str(), scope, filter, attributes, 0, nullptr, nullptr, nullptr,
                                       LDAP_NO_LIMIT, &raw);
    result->reset(raw);
    return code;
}
} // namespace

SearchRequest ListingRequest(const std::string& base, int scope, std::string filter) {
    SearchRequest request;
    request.base = base;
    request.scope = scope;
    request.filter = std::move(filter);
    request.attributes = {"objectClass", "structuralObjectClass"};
    return request;
}

ListedEntry ListedForm(LDAP* ld, LDAPMessage* entry, const std::string& dn, const RdnName& leaf,
                       const ObjectClassSchema& schema) {
    // The whole set: Samba names several structural classes, "top" first.
    std::vector<std::string> classes = EntryValues(ld, entry, "objectClass");
    for (std::string& structural : EntryValues(ld, entry, "structuralObjectClass"))
        classes.push_back(std::move(structural));
    ListedEntry listed;
    listed.dn = dn;
    listed.name = leaf.value;
    listed.baseClass = BaseClassName(classes, leaf.attribute, schema);
    return listed;
}

int ListOneLevel(LDAP* ld, const std::string& baseDn, PagingLimits& limits, const ObjectClassSchema& schema,
                 std::vector<ListedEntry>* entries) {
    entries->clear();
    return PagedSearch(ld, ListingRequest(baseDn, LDAP_SCOPE_ONELEVEL), limits, Collector(schema, entries));
}

int ListNamingContexts(LDAP* ld, const ObjectClassSchema& schema, std::vector<ListedEntry>* entries) {
    entries->clear();
    std::array<char*, 2> attributes{const_cast<char*>("namingContexts"), nullptr};
    LdapMessagePtr rootDse;
    if (const int code = Search(ld, "", LDAP_SCOPE_BASE, kAnyEntry, attributes.data(), &rootDse); code != LDAP_SUCCESS)
        return code;
    LDAPMessage* root = ldap_first_entry(ld, rootDse.get());
    if (!root)
        return LDAP_SUCCESS;
    for (const std::string& context : EntryValues(ld, root, "namingContexts")) {
        LdapMessagePtr top;
        const int code = Search(ld, context, LDAP_SCOPE_BASE, kAnyEntry, kListAttributes.data(), &top);
        // A context whose top entry is missing or hidden from us is no container to browse.
        if (code == LDAP_NO_SUCH_OBJECT || code == LDAP_INSUFFICIENT_ACCESS || code == LDAP_REFERRAL)
            continue;
        if (code != LDAP_SUCCESS)
            return code;
        CollectNamingContexts(ld, top.get(), schema, entries);
    }
    return LDAP_SUCCESS;
}

int EscapeFilterValue(std::string_view value, std::string* escaped) {
    berval raw{static_cast<ber_len_t>(value.size()), const_cast<char*>(value.data())};
    berval out{};
    const int code = ldap_bv2escaped_filter_value(&raw, &out);
    const BerMemoryPtr owned(out.bv_val);
    if (code == LDAP_SUCCESS)
        escaped->assign(owned.get(), out.bv_len);
    return code;
}

int FindChildren(LDAP* ld, const std::string& parentDn, const std::string& name, PagingLimits& limits,
                 const ObjectClassSchema& schema, std::vector<ListedEntry>* entries) {
    entries->clear();
    std::string v;
    if (const int escapedCode = EscapeFilterValue(name, &v); escapedCode != LDAP_SUCCESS)
        return escapedCode;
    std::string filter = "(|";
    for (const char* attribute : {"cn", "ou", "o", "c", "dc", "l", "uid"})
        filter += std::string("(") + attribute + "=" + v + ")";
    filter += ")";

    std::vector<ListedEntry> found;
    const int code =
        PagedSearch(ld, ListingRequest(parentDn, LDAP_SCOPE_ONELEVEL, filter), limits, Collector(schema, &found));
    if (code != LDAP_SUCCESS)
        return code;
    const std::string wanted = FoldCase(name);
    for (ListedEntry& entry : found) {
        if (FoldCase(entry.name) == wanted)
            entries->push_back(std::move(entry));
    }
    return LDAP_SUCCESS;
}

int ReadEntryAt(LDAP* ld, const std::string& dn, const ObjectClassSchema& schema, std::vector<ListedEntry>* entries) {
    entries->clear();
    LdapMessagePtr result;
    const int code = Search(ld, dn, LDAP_SCOPE_BASE, kAnyEntry, kListAttributes.data(), &result);
    if (code == LDAP_NO_SUCH_OBJECT)
        return LDAP_SUCCESS;
    if (code != LDAP_SUCCESS)
        return code;
    const EntrySink collect = Collector(schema, entries);
    for (LDAPMessage* entry = ldap_first_entry(ld, result.get()); entry; entry = ldap_next_entry(ld, entry)) {
        LdapStringPtr found(ldap_get_dn(ld, entry));
        if (found)
            collect(ld, entry, found.get());
    }
    return LDAP_SUCCESS;
}

std::vector<std::string> EntryValues(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    std::vector<std::string> values;
    const BervalsPtr raw(ldap_get_values_len(ld, entry, attribute));
    for (berval** value = raw.get(); value && *value; ++value)
        values.emplace_back((*value)->bv_val, (*value)->bv_len);
    return values;
}
