#include "client/ldap/users/LdapUserProfile.h"

#include "client/ResultCodes.h"
#include "client/ldap/users/ActiveDirectoryUser.h"
#include "client/ldap/users/DirsrvUser.h"
#include "client/ldap/users/OpenLdapUser.h"

#include <algorithm>

namespace {
// posixAccount's attributes beside the class.
void AddPosixAccount(const NewUser& user, std::vector<UserAttribute>* attributes) {
    const PosixRequest& posix = *user.posix;
    attributes->front().values.push_back("posixAccount");
    attributes->push_back({"uidNumber", {posix.uidNumber}});
    attributes->push_back({"gidNumber", {std::to_string(posix.gidNumber)}});
    attributes->push_back({"homeDirectory", {posix.homeDirectory}});
    attributes->push_back({"loginShell", {posix.loginShell}});
    if (IsPrintableAscii(user.surname))
        attributes->push_back({"gecos", {user.surname}});
}

NWDSCCODE InetOrgPersonEntry(PasswordWay way, const NewUser& user, UserEntry* entry) {
    std::vector<UserAttribute> attributes{{"objectClass", {"inetOrgPerson"}},
                                          {"cn", {user.loginName}},
                                          {"sn", {user.surname}},
                                          {"uid", {user.loginName}}};
    if (user.posix)
        AddPosixAccount(user, &attributes);
    if (user.password) {
        if (way == PasswordWay::PasswordModify)
            SetOpenLdapPasswordAfterAdd(user, entry);
        else if (way == PasswordWay::ClearInAdd)
            AddDirsrvPassword(user, &attributes);
        else
            return rc::kPasswordNotSupported;
    }
    entry->attributes = std::move(attributes);
    return rc::kSuccess;
}
} // namespace

NWDSCCODE MakeUserEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry) {
    entry->rdnAttribute = kUserRdnAttribute;
    if (server.kind == LdapServerKind::ActiveDirectory)
        return ActiveDirectoryUserEntry(server, user, entry);
    // Elsewhere an expiry is shadowExpire, which only an account with POSIX attributes holds.
    if (user.expiresAt)
        return rc::kExpiryNotSupported;
    return InetOrgPersonEntry(server.passwordWay, user, entry);
}

bool UserEntry::CarriesPassword() const {
    return passwordAfterAdd || std::any_of(attributes.begin(), attributes.end(),
                                           [](const UserAttribute& attribute) { return !attribute.comparable; });
}
