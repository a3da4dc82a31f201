#pragma once

#include "client/ldap/users/LdapUserProfile.h"

#include <vector>

// The password attributes of a new inetOrgPerson on 389 Directory Server: userPassword as clear text,
// which the server hashes; a change at first login is the server's password policy's own doing
// (passwordMustChange), nothing the add carries.
void AddDirsrvPassword(const NewUser& user, std::vector<UserAttribute>* attributes);
