#include "LdapUserProfile.h"

#include "LdapPasswordValues.h"
#include "ResultCodes.h"

namespace {
constexpr std::size_t kMaxAdLoginUnits = 20;
constexpr std::string_view kAdRefusedCharacters = "\"/\\[]:;|=,+*?<>";
// userAccountControl of an enabled normal account (NORMAL_ACCOUNT, no ACCOUNTDISABLE).
constexpr const char* kNormalAccount = "512";

// UTF-16 units of a UTF-8 text: one per character, two for one beyond the Basic Multilingual Plane.
std::size_t Utf16Units(std::string_view text) {
    std::size_t units = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            ++units;
        if (byte >= 0xF0)
            ++units;
    }
    return units;
}
} // namespace

bool IsActiveDirectoryLoginName(std::string_view loginName) {
    return Utf16Units(loginName) <= kMaxAdLoginUnits &&
           loginName.find_first_of(kAdRefusedCharacters) == std::string_view::npos;
}

namespace {
NWDSCCODE ActiveDirectoryEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry) {
    if (!IsActiveDirectoryLoginName(user.loginName))
        return rc::kLoginNameNotValid;
    std::vector<UserAttribute> attributes{
        {"objectClass", {"user"}}, {"cn", {user.loginName}}, {"sAMAccountName", {user.loginName}}};
    if (!server.domainDnsName.empty())
        attributes.push_back({"userPrincipalName", {user.loginName + "@" + server.domainDnsName}});
    attributes.push_back({"sn", {user.surname}});
    if (user.password) {
        auto value = UnicodePwdValue(*user.password);
        if (!value)
            return rc::kSyntaxViolation;
        attributes.push_back({"unicodePwd", {std::move(*value)}, false});
        attributes.push_back({"userAccountControl", {kNormalAccount}});
        if (user.mustChange)
            attributes.push_back({"pwdLastSet", {"0"}});
    }
    entry->attributes = std::move(attributes);
    return rc::kSuccess;
}

NWDSCCODE InetOrgPersonEntry(LdapServerKind kind, const NewUser& user, UserEntry* entry) {
    std::vector<UserAttribute> attributes{{"objectClass", {"inetOrgPerson"}},
                                          {"cn", {user.loginName}},
                                          {"sn", {user.surname}},
                                          {"uid", {user.loginName}}};
    if (user.password) {
        if (kind == LdapServerKind::Generic)
            return rc::kPasswordNotSupported;
        if (kind == LdapServerKind::OpenLdap) {
            auto hash = SaltedSha1(*user.password);
            if (!hash)
                return LDAP_LOCAL_ERROR;
            attributes.push_back({"userPassword", {std::move(*hash)}, false});
            if (user.mustChange)
                attributes.push_back({"pwdReset", {"TRUE"}});
        } else {
            attributes.push_back({"userPassword", {*user.password}, false});
        }
    }
    entry->attributes = std::move(attributes);
    return rc::kSuccess;
}
} // namespace

NWDSCCODE MakeUserEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry) {
    entry->rdnAttribute = kUserRdnAttribute;
    if (server.kind == LdapServerKind::ActiveDirectory)
        return ActiveDirectoryEntry(server, user, entry);
    return InetOrgPersonEntry(server.kind, user, entry);
}
