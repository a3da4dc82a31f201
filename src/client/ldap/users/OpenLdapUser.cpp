#include "client/ldap/users/OpenLdapUser.h"

#include "client/ldap/users/LdapAdd.h"

#include <lber.h>
#include <ldap.h>

#include <ctime>
#include <functional>

namespace {
// Sends `write`, and once more when its answer was lost and `applied` cannot show that it took effect.
int WriteAgainIfLost(LdapSession& session, const std::function<int(LDAP*)>& write,
                     const std::function<bool()>& applied) {
    bool sent = false;
    const int code = session.RunWrite(write, &sent);
    if (!sent || !IsConnectionLoss(code))
        return code;
    if (applied())
        return LDAP_SUCCESS;
    return session.RunWrite(write, &sent);
}
} // namespace

void SetOpenLdapPasswordAfterAdd(const NewUser& user, UserEntry* entry) {
    entry->passwordAfterAdd = *user.password;
    entry->mustChangeAfterAdd = user.mustChange;
}

int SetPasswordAfterAdd(LdapSession& session, const std::string& dn, const std::string& password, bool mustChange) {
    const std::time_t sentAt = std::time(nullptr);
    const auto setPassword = [&](LDAP* ld) {
        berval user{static_cast<ber_len_t>(dn.size()), const_cast<char*>(dn.data())};
        berval secret{static_cast<ber_len_t>(password.size()), const_cast<char*>(password.data())};
        berval generated{0, nullptr};
        const int code = ldap_passwd_s(ld, &user, nullptr, &secret, &generated, nullptr, nullptr);
        ber_memfree(generated.bv_val);
        return code;
    };
    int code =
        WriteAgainIfLost(session, setPassword, [&] { return ChangedSince(session, dn, "pwdChangedTime", sentAt); });
    if (code == LDAP_SUCCESS && mustChange) {
        // Setting the same value again is harmless, so a lost answer is simply sent once more.
        char* values[] = {const_cast<char*>("TRUE"), nullptr};
        LDAPMod reset{};
        reset.mod_op = LDAP_MOD_REPLACE;
        reset.mod_type = const_cast<char*>("pwdReset");
        reset.mod_values = values;
        LDAPMod* mods[] = {&reset, nullptr};
        code = WriteAgainIfLost(
            session, [&](LDAP* ld) { return ldap_modify_ext_s(ld, dn.c_str(), mods, nullptr, nullptr); },
            [] { return false; });
    }
    if (code != LDAP_SUCCESS) {
        const auto undo = [&](LDAP* ld) { return ldap_delete_ext_s(ld, dn.c_str(), nullptr, nullptr); };
        WriteAgainIfLost(session, undo, [] { return false; });
    }
    return code;
}
