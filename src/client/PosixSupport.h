#pragma once

// Whether a directory can give a new User a Linux login (uidNumber, gidNumber, home directory,
// login shell), and why not where it cannot. The window enables its POSIX choice from this.
enum class PosixLimit {
    None,        // supported
    NoSchema,    // the server's schema has no posixAccount class
    Unreachable, // the directory could not be asked
};
