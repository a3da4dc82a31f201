#pragma once

#include "ServerConnection.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

using Attributes = std::map<std::string, std::vector<std::string>>;

// A batch stud0001..stud0006 (stud0003 missing) in ou=Class below `base`, with the decoys it must
// leave alone: stud0001a and stud0007 beside it, stud0002 in ou=Sub below it, cn=stud0005 of another
// class and cn=stud0006 holding an entry. The users have `password`.
struct BatchTree {
    std::string containerDn;
    std::string dotted; // the container's dotted name
    std::string password;
    std::vector<std::string> batch;  // DNs of stud0001, stud0002, stud0004
    std::vector<std::string> decoys; // DNs of the decoy users
};

// What differs by server: the classes of cn=stud0005, of cn=stud0006 and of its child, and of
// ou=Sub's stud0002 where login names are unique in the whole domain (empty: a user like the batch's).
struct BatchDecoyClasses {
    Attributes other;
    Attributes holder;
    Attributes child;
    Attributes subEntry = {};
};

// Adds the containers and decoys with the test's own `view`, the users through the directory layer
// (bound, as the program runs); `topDotted` is the dotted name of `base`.
BatchTree MakeBatchTree(ServerConnection& view, const std::string& base, const std::string& topDotted,
                        const BatchDecoyClasses& classes, const std::string& password);

// Disables, enables and removes the batch through the directory layer, proving each step with the
// server's own view and `bind` (a user's bind with its password: the LDAP result code).
void ExpectOnlyTheBatchIsTouched(ServerConnection& view, const BatchTree& tree,
                                 const std::function<int(const std::string& dn, const std::string& password)>& bind);
