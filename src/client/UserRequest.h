#pragma once

#include "client/ClientBuffer.h"
#include "client/ClientTypes.h"
#include "client/DottedName.h"
#include "client/PasswordSupport.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A new User's Linux login, as the add carries it.
struct PosixRequest {
    std::string uidNumber; // decimal, or the value a server replaces by a number it assigns (UidBlock)
    std::uint32_t gidNumber = 0;
    std::string homeDirectory; // ASCII
    std::string loginShell;    // ASCII
};

// What an add request for a User asks for: where the new object goes, its surname and, when
// asked, its initial password.
struct UserRequest {
    std::vector<NamePart> path; // from the top down, the new object's own (typeless) name last
    std::string surname;
    std::optional<std::string> password;   // clear text
    bool mustChange = false;               // change the password at first login
    std::optional<std::int64_t> expiresAt; // first second (since the epoch) it may no longer log in
    std::optional<PosixRequest> posix;     // its Linux login
};

// Reads the attributes of an add buffer the way every backend must: exactly one "Object Class" of
// "User" and one non-empty "Surname", at most one non-empty "Password" and, only beside it, one
// "Password Must Change", at most one "Login Expiration Time" (decimal seconds since the epoch), the
// four attributes of a Linux login all or none ("UID Number" an integer, "GID Number" a decimal number
// below 2^32, "Home Directory" and "Login Shell" non-empty printable ASCII), no value longer than 256
// bytes. Fills the request's surname and password
// and returns 0, or the refusal's code (kValueTooLong, kSyntaxViolation, kMissingMandatory).
NWDSCCODE ReadUserAttributes(const ClientBuffer& buffer, UserRequest* request);

// Whether `text` holds printable ASCII only, as IA5String attributes (homeDirectory, gecos) take it.
bool IsPrintableAscii(std::string_view text);

// The code refusing a password (and the demand to change it when `mustChange`) that `support`
// does not allow: kPasswordNeedsEncryption over an unencrypted connection, else
// kPasswordNotSupported or kMustChangeNotSupported; 0 when it allows them.
NWDSCCODE PasswordRefusal(const PasswordSupport& support, bool mustChange);
