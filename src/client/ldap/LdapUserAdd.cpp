#include "LdapUserAdd.h"

#include "LdapAdd.h"
#include "LdapDn.h"
#include "ResultCodes.h"

NWDSCCODE AddUser(LdapSession& session, LdapNames& names, std::vector<std::string> path, std::string surname) {
    std::string cn = std::move(path.back());
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

    return AddEntry(session, *dn, mods);
}
