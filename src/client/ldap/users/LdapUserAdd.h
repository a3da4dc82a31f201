#pragma once

#include "client/UserRequest.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapNames.h"

#include <string>
#include <vector>

// Creates the User `request` asks for: named by the path's last part, the login name, in the container
// the parts before it name, with its surname and, when asked, its password, all in the one add, in the
// profile of the server's kind (LdapUserProfile.h). A User at the top of the tree is refused
// (kIllegalContainment): a new naming context is the server administrator's business. Our code, or the
// LDAP result code.
NWDSCCODE AddUser(LdapSession& session, LdapNames& names, const UserRequest& request);

// DN a User at `path` gets (the path's last part, typeless, its own name; the parts above it name
// the container as the add resolves them), or why it cannot be made there.
NWDSCCODE UserDn(LdapNames& names, const std::vector<NamePart>& path, std::string* dn);
