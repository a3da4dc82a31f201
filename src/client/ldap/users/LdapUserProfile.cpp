#include "client/ldap/users/LdapUserProfile.h"

#include "client/ResultCodes.h"
#include "client/ldap/users/ActiveDirectoryUser.h"
#include "client/ldap/users/DirsrvUser.h"
#include "client/ldap/users/OpenLdapUser.h"

namespace {
NWDSCCODE InetOrgPersonEntry(LdapServerKind kind, const NewUser& user, UserEntry* entry) {
    std::vector<UserAttribute> attributes{{"objectClass", {"inetOrgPerson"}},
                                          {"cn", {user.loginName}},
                                          {"sn", {user.surname}},
                                          {"uid", {user.loginName}}};
    if (user.password) {
        if (kind == LdapServerKind::Generic)
            return rc::kPasswordNotSupported;
        if (kind == LdapServerKind::OpenLdap) {
            if (const NWDSCCODE code = AddOpenLdapPassword(user, &attributes); code != rc::kSuccess)
                return code;
        } else {
            AddDirsrvPassword(user, &attributes);
        }
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
    return InetOrgPersonEntry(server.kind, user, entry);
}
