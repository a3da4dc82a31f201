#include "BareSearch.h"

#include <strings.h>

#include <array>
#include <vector>

namespace {
char kObjectClass[] = "objectClass";
char kNamingContexts[] = "namingContexts";
const char* const kAnyEntry = "(objectClass=*)";

int Search(LDAP* ld, const std::string& base, int scope, char* attribute, LdapMessagePtr* result, BareCount* count) {
    std::array<char*, 2> attributes{attribute, nullptr};
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, base.c_str(), scope, kAnyEntry, attributes.data(), 0, nullptr, nullptr,
                                       nullptr, LDAP_NO_LIMIT, &raw);
    result->reset(raw);
    ++count->searches;
    return code;
}

int NamingContexts(LDAP* ld, std::vector<std::string>* contexts, BareCount* count) {
    LdapMessagePtr root;
    if (const int code = Search(ld, "", LDAP_SCOPE_BASE, kNamingContexts, &root, count); code != LDAP_SUCCESS)
        return code;
    BervalsPtr values(ldap_get_values_len(ld, ldap_first_entry(ld, root.get()), kNamingContexts));
    for (berval** value = values.get(); value && *value; ++value) {
        contexts->emplace_back((*value)->bv_val, (*value)->bv_len);
        ++count->containers;
        ++count->objects;
    }
    return LDAP_SUCCESS;
}

bool IsContainer(LDAP* ld, LDAPMessage* entry) {
    BervalsPtr classes(ldap_get_values_len(ld, entry, kObjectClass));
    for (berval** value = classes.get(); value && *value; ++value) {
        const std::string name((*value)->bv_val, (*value)->bv_len);
        if (strcasecmp(name.c_str(), "organizationalUnit") == 0 || strcasecmp(name.c_str(), "organization") == 0 ||
            strcasecmp(name.c_str(), "country") == 0)
            return true;
    }
    return false;
}

int WalkBelow(LDAP* ld, const std::string& base, BareCount* count) {
    LdapMessagePtr result;
    if (const int code = Search(ld, base, LDAP_SCOPE_ONELEVEL, kObjectClass, &result, count); code != LDAP_SUCCESS)
        return code;
    std::vector<std::string> below;
    for (LDAPMessage* entry = ldap_first_entry(ld, result.get()); entry; entry = ldap_next_entry(ld, entry)) {
        ++count->objects;
        if (IsContainer(ld, entry)) {
            LdapStringPtr dn(ldap_get_dn(ld, entry));
            below.emplace_back(dn.get());
            ++count->containers;
        }
    }
    result.reset();
    for (const std::string& dn : below) {
        if (const int code = WalkBelow(ld, dn, count); code != LDAP_SUCCESS)
            return code;
    }
    return LDAP_SUCCESS;
}
} // namespace

int BareOneLevelWalk(LDAP* ld, BareCount* count) {
    std::vector<std::string> contexts;
    if (const int code = NamingContexts(ld, &contexts, count); code != LDAP_SUCCESS)
        return code;
    for (const std::string& context : contexts) {
        if (const int code = WalkBelow(ld, context, count); code != LDAP_SUCCESS)
            return code;
    }
    return LDAP_SUCCESS;
}

int BareSubtreeSearch(LDAP* ld, BareCount* count) {
    std::vector<std::string> contexts;
    if (const int code = NamingContexts(ld, &contexts, count); code != LDAP_SUCCESS)
        return code;
    for (const std::string& context : contexts) {
        LdapMessagePtr result;
        if (const int code = Search(ld, context, LDAP_SCOPE_SUBTREE, kObjectClass, &result, count);
            code != LDAP_SUCCESS)
            return code;
        // The context's own entry comes too; it is counted with the naming contexts already.
        for (LDAPMessage* entry = ldap_first_entry(ld, result.get()); entry; entry = ldap_next_entry(ld, entry)) {
            LdapStringPtr dn(ldap_get_dn(ld, entry));
            if (dn && context == dn.get())
                continue;
            ++count->objects;
            if (IsContainer(ld, entry))
                ++count->containers;
        }
    }
    return LDAP_SUCCESS;
}
