#include "client/ldap/users/LdapUidCounter.h"

#include "client/ldap/users/LdapUidReserve.h"

namespace {
// The counter entry with its first value; LDAP_SUCCESS also when another program created it meanwhile.
int CreateCounterEntry(LdapSession& session, const std::string& dn, std::uint64_t value) {
    std::string number = std::to_string(value);
    char* classes[] = {const_cast<char*>("device"), const_cast<char*>("extensibleObject"), nullptr};
    char* name[] = {const_cast<char*>("uidNumber counter"), nullptr};
    char* numbers[] = {number.data(), nullptr};
    LDAPMod classMod{LDAP_MOD_ADD, const_cast<char*>("objectClass"), {classes}};
    LDAPMod nameMod{LDAP_MOD_ADD, const_cast<char*>("cn"), {name}};
    LDAPMod numberMod{LDAP_MOD_ADD, const_cast<char*>("uidNumber"), {numbers}};
    LDAPMod* mods[] = {&classMod, &nameMod, &numberMod, nullptr};
    bool sent = false;
    const int code =
        session.RunWrite([&](LDAP* ld) { return ldap_add_ext_s(ld, dn.c_str(), mods, nullptr, nullptr); }, &sent);
    return code == LDAP_ALREADY_EXISTS ? LDAP_SUCCESS : code;
}
} // namespace

int ReserveUidNumbers(LdapSession& session, const std::string& namingContextDn, std::uint32_t count,
                      const UidRange& range, std::uint32_t* first) {
    const std::string dn = std::string(kUidCounterRdn) + "," + namingContextDn;
    return ReserveFromCounter(
        session, dn, "uidNumber", namingContextDn, count, range,
        [&](std::uint64_t next) { return CreateCounterEntry(session, dn, next); }, first);
}
