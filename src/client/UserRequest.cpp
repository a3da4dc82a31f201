#include "client/UserRequest.h"

#include "client/ResultCodes.h"
#include "client/SchemaNames.h"

#include <charconv>

NWDSCCODE ReadUserAttributes(const ClientBuffer& buffer, UserRequest* request) {
    std::optional<std::string> objectClass;
    std::optional<std::string> surname;
    std::optional<std::string> password;
    std::optional<std::string> mustChange;
    std::optional<std::string> expires;
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
    request->surname = std::move(*surname);
    request->password = std::move(password);
    request->mustChange = mustChange.has_value();
    return rc::kSuccess;
}

NWDSCCODE PasswordRefusal(const PasswordSupport& support, bool mustChange) {
    if (!support.CanSetPassword())
        return support.password == PasswordLimit::Unencrypted ? rc::kPasswordNeedsEncryption
                                                              : rc::kPasswordNotSupported;
    if (mustChange && !support.CanAskForChange())
        return rc::kMustChangeNotSupported;
    return rc::kSuccess;
}
