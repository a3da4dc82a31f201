#pragma once

// What a directory can set with a new User besides its name and surname, and why not where it
// cannot. The window enables its password choices from this.
enum class PasswordLimit {
    None,            // supported
    NoPasswords,     // this directory sets no passwords with a new user
    NoStandardWay,   // the directory has no standard way to ask for a change at first login
    Unencrypted,     // the connection is not encrypted (ConnectionProtection): a password would travel in the clear
    UnknownServer,   // an LDAP server of no known kind: how it keeps a password is not known
    NoPolicyOverlay, // OpenLDAP without its password policy overlay (ppolicy)
    PolicyOff,       // the server's password policy does not ask for a change after an administrator set a password
    PolicyHidden,    // the bound identity may not read the server's password policy
    Unreachable,     // the directory could not be asked
};

// What keeps a password from others on its way to the directory.
enum class ConnectionProtection {
    Unknown,        // the directory could not be asked
    LocalStore,     // the directory is a file on this computer: nothing travels
    LocalSocket,    // a socket on this computer (ldapi://)
    VerifiedTls,    // TLS with the server's certificate verified
    SealedKerberos, // a Kerberos bind's sealing security layer, which proved the server
    UnverifiedTls,  // TLS, but the server's certificate was not verified
    None,           // plain TCP: anyone on the way can read it
};

// Whether a password may travel over a connection protected so.
inline bool CarriesPasswords(ConnectionProtection protection) {
    return protection == ConnectionProtection::LocalStore || protection == ConnectionProtection::LocalSocket ||
           protection == ConnectionProtection::VerifiedTls || protection == ConnectionProtection::SealedKerberos;
}

struct PasswordSupport {
    PasswordLimit password = PasswordLimit::NoPasswords;
    PasswordLimit mustChange = PasswordLimit::NoPasswords;
    ConnectionProtection protection = ConnectionProtection::Unknown;

    bool CanSetPassword() const { return password == PasswordLimit::None; }
    bool CanAskForChange() const { return mustChange == PasswordLimit::None; }
};
