#include "client/ldap/users/ActiveDirectoryUser.h"

#include "client/ResultCodes.h"

#include <array>
#include <cstdint>

namespace {
// Code points of well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
std::optional<std::u32string> DecodeUtf8(std::string_view text) {
    std::u32string points;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = (point << 6) | (next & 0x3F);
        }
        constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
        if (point < kSmallest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return std::nullopt;
        points.push_back(point);
        i += length;
    }
    return points;
}

void AppendUtf16Le(std::string* out, char32_t unit) {
    out->push_back(static_cast<char>(unit & 0xFF));
    out->push_back(static_cast<char>(unit >> 8));
}
constexpr std::size_t kMaxAdLoginUnits = 20;
constexpr std::string_view kAdRefusedCharacters = "\"/\\[]:;|=,+*?<>";
// userAccountControl of an enabled normal account (NORMAL_ACCOUNT, no ACCOUNTDISABLE), and of a
// disabled one (NORMAL_ACCOUNT | ACCOUNTDISABLE): AD's own default adds PASSWD_NOTREQD (546).
constexpr const char* kNormalAccount = "512";
constexpr const char* kDisabledAccount = "514";

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

// Active Directory's accountExpires for an expiry at `unixSeconds`: 100-nanosecond intervals since
// 1601-01-01 UTC.
std::string AccountExpiresValue(std::int64_t unixSeconds) {
    constexpr std::int64_t kEpochDifference = 11644473600;
    return std::to_string((unixSeconds + kEpochDifference) * 10000000);
}
} // namespace

bool IsActiveDirectoryLoginName(std::string_view loginName) {
    if (!loginName.empty() && (loginName.front() == ' ' || loginName.back() == ' '))
        return false;
    for (const char c : loginName) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '@')
            return false;
    }
    // C1 controls (U+0080..U+009F) are C2 80..C2 9F in UTF-8.
    for (std::size_t i = 0; i + 1 < loginName.size(); ++i) {
        if (static_cast<unsigned char>(loginName[i]) == 0xC2 && static_cast<unsigned char>(loginName[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(loginName[i + 1]) <= 0x9F)
            return false;
    }
    return Utf16Units(loginName) <= kMaxAdLoginUnits &&
           loginName.find_first_of(kAdRefusedCharacters) == std::string_view::npos;
}

NWDSCCODE ActiveDirectoryUserEntry(const LdapServerFacts& server, const NewUser& user, UserEntry* entry) {
    if (!IsActiveDirectoryLoginName(user.loginName))
        return rc::kLoginNameNotValid;
    std::vector<UserAttribute> attributes{
        {"objectClass", {"user"}}, {"cn", {user.loginName}}, {"sAMAccountName", {user.loginName}}};
    if (!server.domainDnsName.empty())
        attributes.push_back({"userPrincipalName", {user.loginName + "@" + server.domainDnsName}});
    attributes.push_back({"sn", {user.surname}});
    if (user.password) {
        if (server.passwordWay != PasswordWay::UnicodePwd)
            return rc::kPasswordNotSupported;
        auto value = UnicodePwdValue(*user.password);
        if (!value)
            return rc::kSyntaxViolation;
        attributes.push_back({"unicodePwd", {std::move(*value)}, false});
        attributes.push_back({"userAccountControl", {kNormalAccount}});
        if (user.mustChange)
            attributes.push_back({"pwdLastSet", {"0"}});
    } else {
        attributes.push_back({"userAccountControl", {kDisabledAccount}});
    }
    if (user.expiresAt)
        attributes.push_back({"accountExpires", {AccountExpiresValue(*user.expiresAt)}});
    // RFC 2307 attributes of the user class; the home directory is unixHomeDirectory here.
    if (user.posix) {
        attributes.push_back({"uidNumber", {user.posix->uidNumber}});
        attributes.push_back({"gidNumber", {std::to_string(user.posix->gidNumber)}});
        attributes.push_back({"unixHomeDirectory", {user.posix->homeDirectory}});
        attributes.push_back({"loginShell", {user.posix->loginShell}});
    }
    entry->attributes = std::move(attributes);
    return rc::kSuccess;
}

std::optional<std::string> UnicodePwdValue(std::string_view password) {
    const auto points = DecodeUtf8(password);
    if (!points)
        return std::nullopt;
    std::string value;
    AppendUtf16Le(&value, U'"');
    for (const char32_t point : *points) {
        if (point < 0x10000) {
            AppendUtf16Le(&value, point);
        } else {
            AppendUtf16Le(&value, 0xD800 + ((point - 0x10000) >> 10));
            AppendUtf16Le(&value, 0xDC00 + ((point - 0x10000) & 0x3FF));
        }
    }
    AppendUtf16Le(&value, U'"');
    return value;
}
