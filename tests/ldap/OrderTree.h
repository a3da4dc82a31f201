#pragma once

#include <string>

// LDIF of a tree below `base` whose siblings are made out of the order servers list them in:
// ou=Order holding units whose names neither the order of making nor letter case put into slapd's
// one-level order (names that sort apart in upper and lower case, a blank, digits), each holding
// two units made in reverse and a leaf, and a leaf of its own among them. Leaves are users, or
// contacts for Active Directory (`contacts`), which needs no account name. Units are named by
// "ou=" (or "OU=", as Active Directory spells them when `contacts`).
std::string OrderTreeLdif(const std::string& base, bool contacts = false);

// Containers of that tree, ou=Order included.
inline constexpr int kOrderTreeContainers = 1 + 10 * 3;
