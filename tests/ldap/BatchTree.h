#pragma once

#include "ServerConnection.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

using Attributes = std::map<std::string, std::vector<std::string>>;

// ou=Class below a base: the batch stud0001, stud0002, stud0004 of stud0001..stud0006 and the decoys
// it must leave alone (stud0001a, stud0007, ou=Sub's stud0002, cn=stud0005 of another class, cn=stud0006
// holding an entry). The users have `password`.
struct BatchTree {
    std::string containerDn;
    std::string dotted;
    std::string password;
    std::vector<std::string> batch;  // DNs
    std::vector<std::string> decoys; // DNs of the decoy users
};

// By server: the classes of cn=stud0005, cn=stud0006 and its child, and of ou=Sub's stud0002 where
// login names are unique in the domain (empty: a user like the batch's).
struct BatchDecoyClasses {
    Attributes other;
    Attributes holder;
    Attributes child;
    Attributes subEntry = {};
};

// Decoys through the test's own `view`, users through the bound directory layer; `topDotted` names `base`.
BatchTree MakeBatchTree(ServerConnection& view, const std::string& base, const std::string& topDotted,
                        const BatchDecoyClasses& classes, const std::string& password);

// Disables, enables and removes the batch through the directory layer, each step proven by the view
// and by `bind` (a user's bind with its password: the LDAP result code).
void ExpectOnlyTheBatchIsTouched(ServerConnection& view, const BatchTree& tree,
                                 const std::function<int(const std::string& dn, const std::string& password)>& bind);
