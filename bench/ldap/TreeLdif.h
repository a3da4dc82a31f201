#pragma once

#include <string>

// The benchmarks' generated tree below `suffix`: ou=Tree holding `tops` units, each holding `subs`
// units, and `usersPerContainer` users in every unit below ou=Tree.
struct TreeShape {
    std::string suffix = "o=Acme";
    int tops = 100;
    int subs = 99;
    int usersPerContainer = 5;

    long Containers() const { return 1 + static_cast<long>(tops) * (1 + subs); }
    long Others() const { return static_cast<long>(tops) * (1 + subs) * usersPerContainer; }
};

// Writes the tree as LDIF for slapadd to `path`, followed by `extra` (more LDIF, entries of the
// same database); false when the file cannot be written.
bool WriteTreeLdif(const std::string& path, const TreeShape& shape, const std::string& extra = {});
