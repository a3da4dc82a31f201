#include "client/ldap/users/LdapAccounts.h"

#include "client/ldap/search/LdapSearch.h"

#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/search/LdapPagedSearch.h"
#include "client/ldap/users/LdapUserProfile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace {
// userAccountControl's ACCOUNTDISABLE bit.
constexpr std::uint32_t kAccountDisable = 2;
// pwdAccountLockedTime for a lock that only an administrator lifts.
constexpr const char* kLockedForGood = "000001010000Z";

const char* CreatedClass(LdapServerKind kind) {
    return kind == LdapServerKind::ActiveDirectory ? "user" : "inetOrgPerson";
}

// Whether an entry with `classes` is a User of the class the program creates on `kind`: that class is
// the most specific of its set.
bool IsCreatedUser(LdapSession& session, LDAP* ld, LdapServerKind kind, const std::vector<std::string>& classes) {
    return FoldCase(session.server().Classes(ld).MostSpecific(classes)) == FoldCase(CreatedClass(kind));
}

// Whether `dn` holds entries, by asking for one of them.
int HoldsEntries(LDAP* ld, const std::string& dn, bool* holds) {
    std::array<char*, 2> none{const_cast<char*>(LDAP_NO_ATTRS), nullptr};
    LDAPMessage* raw = nullptr;
    const int code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_ONELEVEL, "(objectClass=*)", none.data(), 0, nullptr,
                                       nullptr, nullptr, 1, &raw);
    const LdapMessagePtr result(raw);
    if (code != LDAP_SUCCESS && code != LDAP_SIZELIMIT_EXCEEDED)
        return code;
    *holds = ldap_count_entries(ld, result.get()) > 0;
    return LDAP_SUCCESS;
}

// The facts of the server and the object classes (and, on Active Directory, userAccountControl) of `dn`.
struct UserRead {
    LdapServerKind kind = LdapServerKind::Generic;
    bool isUser = false;
    std::optional<std::uint32_t> accountControl;
};

int ReadUser(LdapSession& session, const std::string& dn, UserRead* read) {
    return session.Run([&](LDAP* ld) {
        LdapServerFacts facts;
        if (const int code = session.server().Facts(ld, &facts); code != LDAP_SUCCESS)
            return code;
        std::array<char*, 3> attributes{const_cast<char*>("objectClass"), const_cast<char*>("userAccountControl"),
                                        nullptr};
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes.data(), 0,
                                           nullptr, nullptr, nullptr, LDAP_NO_LIMIT, &raw);
        const LdapMessagePtr result(raw);
        if (code != LDAP_SUCCESS)
            return code;
        LDAPMessage* entry = ldap_first_entry(ld, result.get());
        if (!entry)
            return static_cast<int>(LDAP_NO_SUCH_OBJECT);
        read->kind = facts.kind;
        read->isUser = IsCreatedUser(session, ld, facts.kind, EntryValues(ld, entry, "objectClass"));
        const auto control = EntryValues(ld, entry, "userAccountControl");
        std::int64_t number = 0;
        if (control.size() == 1 &&
            std::from_chars(control[0].data(), control[0].data() + control[0].size(), number).ec == std::errc())
            read->accountControl = static_cast<std::uint32_t>(number);
        return static_cast<int>(LDAP_SUCCESS);
    });
}

// One modification of `attribute` of `dn`: `op` with `value`, or all values for a delete without one.
int Modify(LdapSession& session, const std::string& dn, int op, const char* attribute,
           const std::optional<std::string>& value) {
    std::string text = value.value_or("");
    std::array<char*, 2> values{text.data(), nullptr};
    LDAPMod mod{};
    mod.mod_op = op;
    mod.mod_type = const_cast<char*>(attribute);
    mod.mod_values = value ? values.data() : nullptr;
    std::array<LDAPMod*, 2> mods{&mod, nullptr};
    bool sent = false;
    const int code = session.RunWrite(
        [&](LDAP* ld) { return ldap_modify_ext_s(ld, dn.c_str(), mods.data(), nullptr, nullptr); }, &sent);
    // Enabling what is not disabled leaves it as asked.
    return op == LDAP_MOD_DELETE && code == LDAP_NO_SUCH_ATTRIBUTE ? LDAP_SUCCESS : code;
}
} // namespace

int ReadCandidateEntries(LdapSession& session, const std::string& containerDn, const std::string& prefix,
                         std::vector<BatchCandidate>* candidates) {
    berval value{static_cast<ber_len_t>(prefix.size()), const_cast<char*>(prefix.data())};
    berval escaped{};
    const int escapedCode = ldap_bv2escaped_filter_value(&value, &escaped);
    const BerMemoryPtr escapedValue(escaped.bv_val);
    if (escapedCode != LDAP_SUCCESS)
        return escapedCode;
    SearchRequest request;
    request.base = containerDn;
    request.scope = LDAP_SCOPE_ONELEVEL;
    request.filter =
        std::string("(") + kUserRdnAttribute + "=" + std::string(escapedValue.get(), escaped.bv_len) + "*)";
    request.attributes = {"objectClass", "hasSubordinates", "numSubordinates"};
    return session.Run([&](LDAP* ld) {
        candidates->clear();
        LdapServerFacts facts;
        if (const int code = session.server().Facts(ld, &facts); code != LDAP_SUCCESS)
            return code;
        // Servers that do not say whether an entry holds entries are asked afterwards, one entry at a time.
        std::vector<std::pair<std::size_t, std::string>> unknown;
        const int code =
            PagedSearch(ld, request, session.paging(), [&](LDAP*, LDAPMessage* entry, const std::string& dn) {
                const auto leaf = LeafName(dn);
                if (!leaf)
                    return;
                BatchCandidate candidate;
                candidate.name = leaf->value;
                const auto classes = EntryValues(ld, entry, "objectClass");
                candidate.baseClass =
                    FoldCase(leaf->attribute) == kUserRdnAttribute && IsCreatedUser(session, ld, facts.kind, classes)
                        ? kUserClass
                        : session.server().Classes(ld).MostSpecific(classes);
                const auto has = EntryValues(ld, entry, "hasSubordinates");
                const auto count = EntryValues(ld, entry, "numSubordinates");
                if (!has.empty())
                    candidate.hasSubordinates = FoldCase(has[0]) == "true";
                else if (!count.empty())
                    candidate.hasSubordinates = count[0] != "0";
                else
                    unknown.emplace_back(candidates->size(), dn);
                candidates->push_back(std::move(candidate));
            });
        if (code != LDAP_SUCCESS)
            return code;
        for (const auto& [index, dn] : unknown) {
            bool holds = false;
            if (const int asked = HoldsEntries(ld, dn, &holds); asked != LDAP_SUCCESS)
                return asked;
            (*candidates)[index].hasSubordinates = holds;
        }
        return static_cast<int>(LDAP_SUCCESS);
    });
}

int SetUserLoginDisabled(LdapSession& session, const std::string& dn, bool disabled) {
    UserRead user;
    if (const int code = ReadUser(session, dn, &user); code != LDAP_SUCCESS)
        return code;
    if (!user.isUser)
        return rc::kNotAUser;
    switch (user.kind) {
    case LdapServerKind::OpenLdap:
        return disabled ? Modify(session, dn, LDAP_MOD_REPLACE, "pwdAccountLockedTime", kLockedForGood)
                        : Modify(session, dn, LDAP_MOD_DELETE, "pwdAccountLockedTime", std::nullopt);
    case LdapServerKind::Dirsrv389:
        return disabled ? Modify(session, dn, LDAP_MOD_REPLACE, "nsAccountLock", "TRUE")
                        : Modify(session, dn, LDAP_MOD_DELETE, "nsAccountLock", std::nullopt);
    case LdapServerKind::ActiveDirectory: {
        if (!user.accountControl)
            return LDAP_INSUFFICIENT_ACCESS; // not readable by the bound identity
        const std::uint32_t control =
            disabled ? (*user.accountControl | kAccountDisable) : (*user.accountControl & ~kAccountDisable);
        return Modify(session, dn, LDAP_MOD_REPLACE, "userAccountControl", std::to_string(control));
    }
    case LdapServerKind::Generic:
        break;
    }
    return rc::kDisableNotSupported;
}

int DeleteUser(LdapSession& session, const std::string& dn) {
    UserRead user;
    if (const int code = ReadUser(session, dn, &user); code != LDAP_SUCCESS)
        return code;
    if (!user.isUser)
        return rc::kNotAUser;
    bool sent = false;
    return session.RunWrite([&](LDAP* ld) { return ldap_delete_ext_s(ld, dn.c_str(), nullptr, nullptr); }, &sent);
}
