#include "client/ldap/users/LdapUidReserve.h"

#include "client/ldap/search/LdapPagedSearch.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace {
// How often a reservation reads the counter again after someone else moved it.
constexpr int kMaxTries = 100;

std::optional<std::uint64_t> Number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The counter's value; nullopt when the entry or its value is missing.
int ReadCounter(LdapSession& session, const std::string& dn, const char* attribute,
                std::optional<std::uint64_t>* value) {
    return session.Run([&](LDAP* ld) {
        char* attributes[] = {const_cast<char*>(attribute), nullptr};
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes, 0, nullptr,
                                           nullptr, nullptr, 1, &raw);
        const LdapMessagePtr result(raw);
        *value = std::nullopt;
        if (code == LDAP_NO_SUCH_OBJECT)
            return LDAP_SUCCESS;
        if (code != LDAP_SUCCESS)
            return code;
        LDAPMessage* entry = ldap_first_entry(ld, result.get());
        BervalsPtr values(entry ? ldap_get_values_len(ld, entry, attribute) : nullptr);
        if (values && values.get()[0])
            *value = Number(std::string_view(values.get()[0]->bv_val, values.get()[0]->bv_len));
        return LDAP_SUCCESS;
    });
}

// Moves the counter from `from` to `to` in one modify: delete the old value, add the new one.
int MoveCounter(LdapSession& session, const std::string& dn, const char* attribute, std::uint64_t from,
                std::uint64_t to) {
    std::string oldValue = std::to_string(from);
    std::string newValue = std::to_string(to);
    char* olds[] = {oldValue.data(), nullptr};
    char* news[] = {newValue.data(), nullptr};
    LDAPMod remove{LDAP_MOD_DELETE, const_cast<char*>(attribute), {olds}};
    LDAPMod add{LDAP_MOD_ADD, const_cast<char*>(attribute), {news}};
    LDAPMod* mods[] = {&remove, &add, nullptr};
    bool sent = false;
    return session.RunWrite([&](LDAP* ld) { return ldap_modify_ext_s(ld, dn.c_str(), mods, nullptr, nullptr); }, &sent);
}
} // namespace

int FirstFreeUidNumber(LdapSession& session, const std::string& base, const UidRange& range, std::uint64_t* next) {
    SearchRequest request;
    request.base = base;
    request.scope = LDAP_SCOPE_SUBTREE;
    request.filter = "(&(uidNumber>=" + std::to_string(range.low) + ")(uidNumber<=" + std::to_string(range.high) + "))";
    request.attributes = {"uidNumber"};
    return session.Run([&](LDAP* ld) {
        *next = range.low;
        return PagedSearch(ld, request, session.paging(), [&](LDAP* entryLd, LDAPMessage* entry, const std::string&) {
            BervalsPtr values(ldap_get_values_len(entryLd, entry, "uidNumber"));
            for (berval** value = values.get(); value && *value; ++value) {
                const auto number = Number(std::string_view((*value)->bv_val, (*value)->bv_len));
                if (number && *number >= range.low && *number <= range.high && *number + 1 > *next)
                    *next = *number + 1;
            }
        });
    });
}

int ReserveFromCounter(LdapSession& session, const std::string& dn, const char* attribute,
                       const std::string& namingContextDn, std::uint32_t count, const UidRange& range,
                       const CreateCounter& create, std::uint32_t* first) {
    for (int attempt = 0; attempt < kMaxTries; ++attempt) {
        std::optional<std::uint64_t> value;
        if (const int code = ReadCounter(session, dn, attribute, &value); code != LDAP_SUCCESS)
            return code;
        if (!value) {
            std::uint64_t next = 0;
            if (const int code = FirstFreeUidNumber(session, namingContextDn, range, &next); code != LDAP_SUCCESS)
                return code;
            if (const int code = create(next); code != LDAP_SUCCESS)
                return code;
            continue;
        }
        // A counter below the range (left there by runs on a lower range) moves up into it, past the
        // numbers already in use there; the numbers it skips are never handed out.
        std::uint64_t start = *value;
        if (start < range.low)
            if (const int code = FirstFreeUidNumber(session, namingContextDn, range, &start); code != LDAP_SUCCESS)
                return code;
        if (start < range.low || start + count - 1 > range.high)
            return LDAP_SIZELIMIT_EXCEEDED;
        const int moved = MoveCounter(session, dn, attribute, *value, start + count);
        if (moved == LDAP_SUCCESS) {
            *first = static_cast<std::uint32_t>(start);
            return LDAP_SUCCESS;
        }
        // Someone else took numbers between the read and the modify: read again. Active Directory
        // answers a stale single value with a constraint violation where others say noSuchAttribute.
        if (moved != LDAP_NO_SUCH_ATTRIBUTE && moved != LDAP_CONSTRAINT_VIOLATION)
            return moved;
    }
    return LDAP_BUSY;
}
