#pragma once

#include <string>

// What a server answers a created user's simple bind with its password: the proof that the user got
// the password, and whether the server asks for a change before anything else.
struct BindAnswer {
    int code = -1;    // the bind's LDAP result code
    std::string text; // the server's diagnostic message (Active Directory: "... data 773 ..." for a reset password)
    // The password policy response control says changeAfterReset, or 389's password-expired control came.
    bool mustChange = false;
    // A base search of the user's own entry afterwards: what else the server lets the user do.
    int searchCode = -1;
};

// Binds as `dn` with `password` to `uri` (ldaps verified against `caFile`, or ldapi with `caFile`
// empty), asking for the password policy response control, on a connection of its own.
BindAnswer BindAsUser(const std::string& uri, const std::string& caFile, const std::string& dn,
                      const std::string& password);
