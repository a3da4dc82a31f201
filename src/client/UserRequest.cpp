#include "client/UserRequest.h"

#include "client/ResultCodes.h"
#include "client/SchemaNames.h"

#include <algorithm>
#include <charconv>

namespace {
// A decimal integer as a whole text, optionally negative (a value some servers replace).
bool IsInteger(const std::string& text) {
    const std::size_t digits = !text.empty() && text.front() == '-' ? 1 : 0;
    return text.size() > digits && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(),
                                               [](char c) { return c >= '0' && c <= '9'; });
}

// The four attributes of a Linux login: all or none, well formed.
NWDSCCODE ReadPosix(const std::optional<std::string>& uid, const std::optional<std::string>& gid,
                    const std::optional<std::string>& home, const std::optional<std::string>& shell,
                    std::optional<PosixRequest>* posix) {
    const int given = uid.has_value() + gid.has_value() + home.has_value() + shell.has_value();
    if (given == 0)
        return rc::kSuccess;
    if (given != 4)
        return rc::kMissingMandatory;
    std::uint32_t gidNumber = 0;
    const auto [end, error] = std::from_chars(gid->data(), gid->data() + gid->size(), gidNumber);
    if (!IsInteger(*uid) || gid->empty() || error != std::errc() || end != gid->data() + gid->size() || home->empty() ||
        shell->empty() || !IsPrintableAscii(*home) || !IsPrintableAscii(*shell))
        return rc::kSyntaxViolation;
    *posix = PosixRequest{*uid, gidNumber, *home, *shell};
    return rc::kSuccess;
}
} // namespace

NWDSCCODE ReadUserAttributes(const ClientBuffer& buffer, UserRequest* request) {
    std::optional<std::string> objectClass;
    std::optional<std::string> surname;
    std::optional<std::string> password;
    std::optional<std::string> mustChange;
    std::optional<std::string> expires;
    std::optional<std::string> uid;
    std::optional<std::string> gid;
    std::optional<std::string> home;
    std::optional<std::string> shell;
    for (const ClientBuffer::Attribute& attribute : buffer.Attributes()) {
        if (attribute.value.size() > kMaxValueLength)
            return rc::kValueTooLong;
        // Each attribute holds one value; a User carries nothing else.
        if (attribute.name == kObjectClassAttribute && attribute.syntax == kSyntaxClassName && !objectClass)
            objectClass = attribute.value;
        else if (attribute.name == kSurnameAttribute && attribute.syntax == kSyntaxCaseIgnoreString && !surname)
            surname = attribute.value;
        else if (attribute.name == kPasswordAttribute && attribute.syntax == kSyntaxOctetString && !password)
            password = attribute.value;
        else if (attribute.name == kPasswordMustChangeAttribute && attribute.syntax == kSyntaxBoolean && !mustChange)
            mustChange = attribute.value;
        else if (attribute.name == kLoginExpirationTimeAttribute && attribute.syntax == kSyntaxTime && !expires)
            expires = attribute.value;
        else if (attribute.name == kUidNumberAttribute && attribute.syntax == kSyntaxInteger && !uid)
            uid = attribute.value;
        else if (attribute.name == kGidNumberAttribute && attribute.syntax == kSyntaxInteger && !gid)
            gid = attribute.value;
        else if (attribute.name == kHomeDirectoryAttribute && attribute.syntax == kSyntaxCaseIgnoreString && !home)
            home = attribute.value;
        else if (attribute.name == kLoginShellAttribute && attribute.syntax == kSyntaxCaseIgnoreString && !shell)
            shell = attribute.value;
        else
            return rc::kSyntaxViolation;
    }
    if (!objectClass || !surname || surname->empty())
        return rc::kMissingMandatory;
    if (*objectClass != kUserClass)
        return rc::kSyntaxViolation;
    // An empty password would make an account anyone can enter (LDAP binds without one are
    // anonymous); a demand to change needs a password to change.
    if ((password && password->empty()) || (mustChange && (*mustChange != kTrueValue || !password)))
        return rc::kSyntaxViolation;
    if (expires) {
        std::int64_t seconds = 0;
        const auto [end, error] = std::from_chars(expires->data(), expires->data() + expires->size(), seconds);
        if (expires->empty() || error != std::errc() || end != expires->data() + expires->size() || seconds < 0)
            return rc::kSyntaxViolation;
        request->expiresAt = seconds;
    }
    if (const NWDSCCODE code = ReadPosix(uid, gid, home, shell, &request->posix); code != rc::kSuccess)
        return code;
    request->surname = std::move(*surname);
    request->password = std::move(password);
    request->mustChange = mustChange.has_value();
    return rc::kSuccess;
}

bool IsPrintableAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

NWDSCCODE PasswordRefusal(const PasswordSupport& support, bool mustChange) {
    if (!support.CanSetPassword())
        return support.password == PasswordLimit::Unencrypted ? rc::kPasswordNeedsEncryption
                                                              : rc::kPasswordNotSupported;
    if (mustChange && !support.CanAskForChange())
        return rc::kMustChangeNotSupported;
    return rc::kSuccess;
}
