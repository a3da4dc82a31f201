#include "client/ldap/users/LdapUserAdd.h"

#include "client/ResultCodes.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/users/LdapAdd.h"
#include "client/ldap/users/LdapModList.h"
#include "client/ldap/users/LdapUserProfile.h"
#include "client/ldap/users/OpenLdapUser.h"

namespace {
// The add of an entry, pointing into the entry's own strings.
class AddRequest {
public:
    explicit AddRequest(UserEntry& entry) {
        for (UserAttribute& attribute : entry.attributes) {
            mods_.Add(LDAP_MOD_ADD, attribute.name, attribute.values);
            if (!attribute.comparable)
                uncompared_.push_back(attribute.name);
        }
    }
    LDAPMod** mods() { return mods_.mods(); }
    // The attributes a read-back cannot compare with what was sent (UserAttribute::comparable).
    const std::vector<std::string>& uncompared() const { return uncompared_; }

private:
    LdapModList mods_;
    std::vector<std::string> uncompared_;
};
} // namespace

NWDSCCODE UserDn(LdapNames& names, const std::vector<NamePart>& path, std::string* dn) {
    // The own name is typeless (ClientBase::ReadUserRequest); the parts above it may be typed.
    if (path.size() < 2 || !path.back().type.empty())
        return rc::kIllegalContainment;
    KnownDn parent;
    if (const NWDSCCODE code = names.Resolve({path.begin(), path.end() - 1}, &parent); code != rc::kSuccess)
        return code;
    auto child = ChildDn(parent.dn, kUserRdnAttribute, path.back().value);
    if (!child)
        return rc::kIllegalName;
    *dn = std::move(*child);
    return rc::kSuccess;
}

NWDSCCODE AddUser(LdapSession& session, LdapNames& names, const UserRequest& request) {
    const std::vector<NamePart>& path = request.path;
    if (path.size() < 2)
        return rc::kIllegalContainment; // a new naming context is the server administrator's business

    // The profile follows the server; a login name it cannot take is refused before anything of it is sent.
    LdapServerFacts server;
    if (const int code = session.Run([&](LDAP* ld) { return session.server().Facts(ld, &server); });
        code != LDAP_SUCCESS)
        return code;
    if (request.posix) {
        bool posix = false;
        session.Run([&](LDAP* ld) {
            posix = session.server().Classes(ld).Published("posixAccount");
            return LDAP_SUCCESS;
        });
        if (!posix)
            return rc::kPosixNotSupported;
    }
    UserEntry entry;
    const NewUser user{path.back().value,  request.surname,   request.password,
                       request.mustChange, request.expiresAt, request.posix};
    if (const NWDSCCODE code = MakeUserEntry(server, user, &entry); code != rc::kSuccess)
        return code;
    std::string dn;
    if (const NWDSCCODE code = UserDn(names, path, &dn); code != rc::kSuccess)
        return code;

    if (request.mustChange) {
        // The policy of the database the user goes into decides, not that of any other.
        MustChangePolicy policy = MustChangePolicy::Hidden;
        if (const int code = session.Run([&](LDAP* ld) { return session.server().MustChange(ld, dn, &policy); });
            code != LDAP_SUCCESS)
            return code;
        const PasswordSupport support = PasswordSupportOf(server.kind, server.passwordWay, policy, true);
        if (!support.CanAskForChange())
            return rc::kMustChangeNotSupported;
    }

    AddRequest add(entry);
    const int code = AddEntry(session, dn, add.mods(), add.uncompared(), entry.CarriesPassword());
    if (code != LDAP_SUCCESS || !entry.passwordAfterAdd)
        return code;
    return SetPasswordAfterAdd(session, dn, *entry.passwordAfterAdd, entry.mustChangeAfterAdd);
}
