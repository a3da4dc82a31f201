#include "client/embedded/EmbeddedLogin.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedSchema.h"
#include "client/embedded/EmbeddedStore.h"
#include "client/embedded/PasswordHash.h"

#include <charconv>
#include <optional>

NWDSCCODE CheckLogin(EmbeddedStore& store, const std::string& dottedName, const std::string& password,
                     std::int64_t now) {
    const auto resolved = ResolveName(dottedName, kRootName);
    const auto path = resolved ? TypelessValues(*resolved) : std::nullopt;
    if (!path)
        return rc::kIllegalName;
    EmbeddedStore::Object user;
    if (const NWDSCCODE code = store.Find(*path, &user); code != rc::kSuccess)
        return code;
    if (user.baseClass != kUserClass)
        return rc::kNotAUser;

    std::optional<std::string> value;
    if (const NWDSCCODE code = store.ReadAttribute(user.id, kPasswordHashAttribute, &value); code != rc::kSuccess)
        return code;
    if (!value || !PasswordMatches(*value, password))
        return rc::kWrongPassword;
    if (const NWDSCCODE code = store.ReadAttribute(user.id, kLoginDisabledAttribute, &value); code != rc::kSuccess)
        return code;
    if (value == kTrueValue)
        return rc::kLoginDisabled;
    if (const NWDSCCODE code = store.ReadAttribute(user.id, kLoginExpirationTimeAttribute, &value);
        code != rc::kSuccess)
        return code;
    if (value) {
        std::int64_t expires = 0;
        const auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), expires);
        // A value that cannot be read refuses the login rather than letting it through for ever.
        if (error != std::errc() || end != value->data() + value->size() || now >= expires)
            return rc::kAccountExpired;
    }
    return rc::kSuccess;
}
