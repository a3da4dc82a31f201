#include "LdapUserProfile.h"

#include "ResultCodes.h"

namespace {
constexpr std::size_t kMaxAdLoginUnits = 20;
constexpr std::string_view kAdRefusedCharacters = "\"/\\[]:;|=,+*?<>";

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

NWDSCCODE MakeUserEntry(LdapServerKind kind, const std::string& loginName, const std::string& surname,
                        const std::string& domainDnsName, UserEntry* entry) {
    entry->rdnAttribute = kUserRdnAttribute;
    if (kind == LdapServerKind::ActiveDirectory) {
        if (!IsActiveDirectoryLoginName(loginName))
            return rc::kLoginNameNotValid;
        entry->attributes = {{"objectClass", {"user"}}, {"cn", {loginName}}, {"sAMAccountName", {loginName}}};
        if (!domainDnsName.empty())
            entry->attributes.push_back({"userPrincipalName", {loginName + "@" + domainDnsName}});
        entry->attributes.push_back({"sn", {surname}});
        return rc::kSuccess;
    }
    entry->attributes = {
        {"objectClass", {"inetOrgPerson"}}, {"cn", {loginName}}, {"sn", {surname}}, {"uid", {loginName}}};
    return rc::kSuccess;
}
