#include "client/ldap/server/LdapServerKind.h"

#include "client/ldap/names/LdapDn.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace {
constexpr const char* kActiveDirectoryCapability = "1.2.840.113556.1.4.800";
constexpr const char* kPasswordModifyExtension = "1.3.6.1.4.1.4203.1.11.1";

bool Contains(const std::vector<std::string>& values, std::string_view wanted) {
    const std::string folded = FoldCase(wanted);
    return std::any_of(values.begin(), values.end(),
                       [&](const std::string& value) { return FoldCase(value) == folded; });
}
} // namespace

std::optional<LdapServerKind> ParseServerKind(std::string_view setting) {
    constexpr std::array<std::pair<std::string_view, LdapServerKind>, 4> kNames{{
        {"generic", LdapServerKind::Generic},
        {"openldap", LdapServerKind::OpenLdap},
        {"389", LdapServerKind::Dirsrv389},
        {"ad", LdapServerKind::ActiveDirectory},
    }};
    const std::string folded = FoldCase(setting);
    for (const auto& [name, kind] : kNames) {
        if (folded == name)
            return kind;
    }
    return std::nullopt;
}

LdapServerKind DetectServerKind(const RootDse& root) {
    if (Contains(root.supportedCapabilities, kActiveDirectoryCapability))
        return LdapServerKind::ActiveDirectory;
    if (FoldCase(root.vendorName).starts_with("389 project") || root.vendorVersion.starts_with("389-Directory/"))
        return LdapServerKind::Dirsrv389;
    if (Contains(root.objectClasses, "OpenLDAProotDSE"))
        return LdapServerKind::OpenLdap;
    return LdapServerKind::Generic;
}

PasswordWay PasswordWayOf(LdapServerKind kind, const RootDse& root) {
    const LdapServerKind shown = DetectServerKind(root);
    switch (kind) {
    case LdapServerKind::ActiveDirectory:
        return shown == kind ? PasswordWay::UnicodePwd : PasswordWay::None;
    case LdapServerKind::Dirsrv389:
        return shown == kind ? PasswordWay::ClearInAdd : PasswordWay::None;
    case LdapServerKind::OpenLdap:
        // The operation hands the password to the server, which hashes it by its own scheme and policy.
        return Contains(root.supportedExtensions, kPasswordModifyExtension) ? PasswordWay::PasswordModify
                                                                            : PasswordWay::None;
    case LdapServerKind::Generic:
        break;
    }
    return PasswordWay::None;
}
