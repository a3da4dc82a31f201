#include "client/ldap/users/LdapUserProfile.h"

#include "client/ResultCodes.h"
#include "client/ldap/users/ActiveDirectoryUser.h"
#include "client/ldap/users/DirsrvUser.h"
#include "client/ldap/users/OpenLdapUser.h"

#include <algorithm>

namespace {
constexpr std::int64_t kSecondsPerDay = 86400;

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
    // shadowExpire counts whole days since the epoch in UTC, and the account is refused from the
    // start of that day: the first day whose start is not before the expiry, so that no user loses a
    // day it was given.
    if (user.expiresAt) {
        attributes->front().values.push_back("shadowAccount");
        const std::int64_t day = (*user.expiresAt + kSecondsPerDay - 1) / kSecondsPerDay;
        attributes->push_back({"shadowExpire", {std::to_string(day)}});
    }
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
    if (user.expiresAt && !user.posix)
        return rc::kExpiryNotSupported;
    return InetOrgPersonEntry(server.passwordWay, user, entry);
}

bool UserEntry::CarriesPassword() const {
    return passwordAfterAdd || std::any_of(attributes.begin(), attributes.end(),
                                           [](const UserAttribute& attribute) { return !attribute.comparable; });
}
