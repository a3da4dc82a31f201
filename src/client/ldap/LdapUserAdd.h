#pragma once

#include "ClientTypes.h"
#include "LdapNames.h"
#include "LdapSession.h"

#include <string>
#include <vector>

// Creates a User on the server: an inetOrgPerson named cn=<the path's last part> in the container
// the parts before it name, with `surname` as sn, each attribute with one value taken literally.
// A User at the top of the tree is refused (kIllegalContainment): a new naming context is the
// server administrator's business. Our code, or the LDAP result code.
NWDSCCODE AddUser(LdapSession& session, LdapNames& names, std::vector<NamePart> path, std::string surname);
