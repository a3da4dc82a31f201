#pragma once

// Whether a directory can make a new User expire by itself, and why not where it cannot. The window
// enables its expiry date from this.
enum class ExpiryLimit {
    None,            // supported
    NoPosixAccounts, // an LDAP server of this kind keeps it in shadowExpire, which needs POSIX attributes
    UnknownServer,   // an LDAP server of no known kind
    Unreachable,     // the directory could not be asked
};
