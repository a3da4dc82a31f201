#include "client/ldap/users/LdapAdd.h"

#include "client/ResultCodes.h"
#include "client/ldap/connection/LdapHandles.h"

#include <strings.h>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {
enum class ReadBack { Missing, Same, Other };

// GeneralizedTime down to the second ("20261209114330Z", AD "20261209114330.0Z"), as UTC.
std::string SecondsOf(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[16];
    return std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &utc) == 14 ? std::string(text) : std::string();
}

std::vector<std::string> SentValues(const LDAPMod& mod) {
    std::vector<std::string> values;
    if (mod.mod_op & LDAP_MOD_BVALUES) {
        for (berval** value = mod.mod_bvalues; value && *value; ++value)
            values.emplace_back((*value)->bv_val, (*value)->bv_len);
    } else {
        for (char** value = mod.mod_values; value && *value; ++value)
            values.emplace_back(*value);
    }
    return values;
}

bool SameText(const std::string& a, const std::string& b, bool ignoreCase) {
    return ignoreCase ? a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0 : a == b;
}

bool IsNamed(const char* type, const std::vector<std::string>& names) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return strcasecmp(type, name.c_str()) == 0; });
}

// Whether `entry` holds what `mods` carried, the attributes named in `uncompared` aside. Servers add
// superclasses to an entry's object classes, so those need only be among the entry's.
bool HoldsWhatWasSent(LDAP* ld, LDAPMessage* entry, LDAPMod* const* mods, const std::vector<std::string>& uncompared) {
    for (LDAPMod* const* mod = mods; *mod; ++mod) {
        const char* type = (*mod)->mod_type;
        if (IsNamed(type, uncompared))
            continue;
        std::vector<std::string> held;
        BervalsPtr raw(ldap_get_values_len(ld, entry, type));
        for (berval** value = raw.get(); value && *value; ++value)
            held.emplace_back((*value)->bv_val, (*value)->bv_len);
        const std::vector<std::string> sent = SentValues(**mod);
        const bool classes = strcasecmp(type, "objectClass") == 0;
        if (!classes && held.size() != sent.size())
            return false;
        for (const std::string& value : sent) {
            if (std::none_of(held.begin(), held.end(),
                             [&](const std::string& other) { return SameText(value, other, classes); }))
                return false;
        }
    }
    return true;
}

int ReadEntryBack(LdapSession& session, const std::string& dn, LDAPMod* const* mods,
                  const std::vector<std::string>& uncompared, ReadBack* found) {
    std::vector<char*> attributes;
    for (LDAPMod* const* mod = mods; *mod; ++mod) {
        if (!IsNamed((*mod)->mod_type, uncompared))
            attributes.push_back((*mod)->mod_type);
    }
    attributes.push_back(nullptr);
    const auto read = [&](LDAP* ld) {
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes.data(), 0,
                                           nullptr, nullptr, nullptr, 1, &raw);
        const LdapMessagePtr result(raw);
        if (code == LDAP_NO_SUCH_OBJECT) {
            *found = ReadBack::Missing;
            return LDAP_SUCCESS;
        }
        if (code != LDAP_SUCCESS)
            return code;
        LDAPMessage* entry = ldap_first_entry(ld, result.get());
        *found = !entry                                          ? ReadBack::Missing
                 : HoldsWhatWasSent(ld, entry, mods, uncompared) ? ReadBack::Same
                                                                 : ReadBack::Other;
        return LDAP_SUCCESS;
    };
    // A server that is going down may still take a connection and then drop it; libldap moves on to
    // the next server of the list only when one refuses outright. So the read gets one more try.
    const int code = session.Run(read);
    return IsConnectionLoss(code) ? session.Run(read) : code;
}
} // namespace

bool ChangedSince(LdapSession& session, const std::string& dn, const char* attribute, std::time_t since) {
    const std::string wanted = SecondsOf(since);
    bool changed = false;
    const auto read = [&](LDAP* ld) {
        char* attributes[] = {const_cast<char*>(attribute), nullptr};
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes, 0, nullptr,
                                           nullptr, nullptr, 1, &raw);
        const LdapMessagePtr result(raw);
        LDAPMessage* entry = code == LDAP_SUCCESS ? ldap_first_entry(ld, result.get()) : nullptr;
        const BervalsPtr values(entry ? ldap_get_values_len(ld, entry, attribute) : nullptr);
        if (values && values.get()[0] && values.get()[0]->bv_len >= 14)
            changed = !wanted.empty() && std::string(values.get()[0]->bv_val, 14) >= wanted;
        return code;
    };
    const int code = session.Run(read);
    if (IsConnectionLoss(code))
        session.Run(read);
    return changed;
}

int AddEntry(LdapSession& session, const std::string& dn, LDAPMod* const* mods,
             const std::vector<std::string>& uncompared, bool carriesPassword) {
    // An entry found in doubt may be someone else's that holds the same values: with a password at
    // stake only one created since the add went out counts, else the user's list would carry a
    // password that does not log in.
    const std::time_t sentAt = std::time(nullptr);
    const auto same = [&] {
        return !carriesPassword || ChangedSince(session, dn, "createTimestamp", sentAt) ? LDAP_SUCCESS
                                                                                        : rc::kPasswordAddInDoubt;
    };
    bool sent = false;
    const auto send = [&] {
        return session.RunWrite(
            [&](LDAP* ld) { return ldap_add_ext_s(ld, dn.c_str(), const_cast<LDAPMod**>(mods), nullptr, nullptr); },
            &sent);
    };
    const auto lost = [&](int code) { return sent && IsConnectionLoss(code); };

    int code = send();
    if (!lost(code))
        return code;
    ReadBack found = ReadBack::Missing;
    if (const int read = ReadEntryBack(session, dn, mods, uncompared, &found); read != LDAP_SUCCESS)
        return read;
    if (found != ReadBack::Missing)
        return found == ReadBack::Same ? same() : LDAP_ALREADY_EXISTS;

    code = send();
    if (!lost(code) && code != LDAP_ALREADY_EXISTS)
        return code;
    // The first add may have reached the server after all, or this answer is lost too: look again.
    if (const int read = ReadEntryBack(session, dn, mods, uncompared, &found); read != LDAP_SUCCESS)
        return read;
    if (found == ReadBack::Same)
        return same();
    return found == ReadBack::Other ? LDAP_ALREADY_EXISTS : code;
}
