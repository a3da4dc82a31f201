#include "LdapUserAdd.h"

#include "LdapDn.h"
#include "ResultCodes.h"

NWDSCCODE AddUser(LdapSession& session, LdapNames& names, std::vector<NamePart> path, std::string surname) {
    std::string cn = std::move(path.back().value);
    path.pop_back();
    if (path.empty())
        return rc::kIllegalContainment;

    KnownDn parent;
    if (const NWDSCCODE code = names.Resolve(path, &parent); code != rc::kSuccess)
        return code;
    const auto dn = ChildDn(parent.dn, "cn", cn);
    if (!dn)
        return rc::kIllegalName;

    std::string objectClass = "inetOrgPerson";
    berval objectClassValue{static_cast<ber_len_t>(objectClass.size()), objectClass.data()};
    berval cnValue{static_cast<ber_len_t>(cn.size()), cn.data()};
    berval snValue{static_cast<ber_len_t>(surname.size()), surname.data()};
    berval* objectClassValues[] = {&objectClassValue, nullptr};
    berval* cnValues[] = {&cnValue, nullptr};
    berval* snValues[] = {&snValue, nullptr};
    LDAPMod objectClassMod{LDAP_MOD_ADD | LDAP_MOD_BVALUES, const_cast<char*>("objectClass"), {}};
    objectClassMod.mod_bvalues = objectClassValues;
    LDAPMod cnMod{LDAP_MOD_ADD | LDAP_MOD_BVALUES, const_cast<char*>("cn"), {}};
    cnMod.mod_bvalues = cnValues;
    LDAPMod snMod{LDAP_MOD_ADD | LDAP_MOD_BVALUES, const_cast<char*>("sn"), {}};
    snMod.mod_bvalues = snValues;
    LDAPMod* mods[] = {&objectClassMod, &cnMod, &snMod, nullptr};

    return session.Run([&](LDAP* ld) { return ldap_add_ext_s(ld, dn->c_str(), mods, nullptr, nullptr); });
}
