#pragma once

// What a directory can set with a new User besides its name and surname, and why not where it
// cannot. The window enables its password choices from this.
enum class PasswordLimit {
    None,            // supported
    NoPasswords,     // this directory sets no passwords with a new user
    NoStandardWay,   // the directory has no standard way to ask for a change at first login
    Unencrypted,     // the connection is not encrypted (ldaps:// or ldapi://): a password would travel in the clear
    UnknownServer,   // an LDAP server of no known kind: how it keeps a password is not known
    NoPolicyOverlay, // OpenLDAP without its password policy overlay (ppolicy)
    PolicyOff,       // the server's password policy does not ask for a change after an administrator set a password
    PolicyHidden,    // the bound identity may not read the server's password policy
    Unreachable,     // the directory could not be asked
};

struct PasswordSupport {
    PasswordLimit password = PasswordLimit::NoPasswords;
    PasswordLimit mustChange = PasswordLimit::NoPasswords;

    bool CanSetPassword() const { return password == PasswordLimit::None; }
    bool CanAskForChange() const { return mustChange == PasswordLimit::None; }
};
