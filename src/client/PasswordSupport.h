#pragma once

// What a directory can set with a new User besides its name and surname, and why not where it
// cannot. The window enables its password choices from this.
enum class PasswordLimit {
    None,          // supported
    NoPasswords,   // this directory sets no passwords with a new user
    NoStandardWay, // the directory has no standard way to ask for a change at first login
};

struct PasswordSupport {
    PasswordLimit password = PasswordLimit::NoPasswords;
    PasswordLimit mustChange = PasswordLimit::NoPasswords;

    bool CanSetPassword() const { return password == PasswordLimit::None; }
    bool CanAskForChange() const { return mustChange == PasswordLimit::None; }
};
