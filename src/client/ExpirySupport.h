#pragma once

// Whether a directory can make a new User expire by itself, and why not where it cannot. The window
// enables its expiry date from this.
enum class ExpiryLimit {
    None,            // supported
    NoPosixAccounts, // an LDAP server of this kind keeps it in shadowExpire, which needs POSIX attributes
    UnknownServer,   // an LDAP server of no known kind
    Unreachable,     // the directory could not be asked
};

// Whether a new User may carry an expiry where the directory answered `limit`: everywhere it has no
// limit, and where it keeps expiry in shadowExpire when the User gets a Linux login (`posix`).
constexpr bool ExpiryAllowed(ExpiryLimit limit, bool posix) {
    return limit == ExpiryLimit::None || (limit == ExpiryLimit::NoPosixAccounts && posix);
}
