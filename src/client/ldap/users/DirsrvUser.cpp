#include "client/ldap/users/DirsrvUser.h"

void AddDirsrvPassword(const NewUser& user, std::vector<UserAttribute>* attributes) {
    attributes->push_back({"userPassword", {*user.password}, false});
}
