#pragma once

#include "client/UserRequest.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapNames.h"

#include <string>
#include <vector>

// Creates the User `request` asks for: named by the path's last part, the login name, in the container
// the parts before it name, with its surname and, when asked, its password, in the profile of the
// server's kind (LdapUserProfile.h): in the one add, or right after it where the server takes the
// password by the Password Modify operation (OpenLdapUser.h), the add undone when that is refused. A
// demand to change the password is refused (kMustChangeNotSupported) before anything is sent when the
// policy of the container's database does not ask for it, a Linux login (kPosixNotSupported) where the
// server's schema has no posixAccount class. A User at the top of the tree is refused
// (kIllegalContainment): a new naming context is the server administrator's business. Our code, or the
// LDAP result code.
NWDSCCODE AddUser(LdapSession& session, LdapNames& names, const UserRequest& request);

// DN a User at `path` gets (the path's last part, typeless, its own name; the parts above it name
// the container as the add resolves them), or why it cannot be made there.
NWDSCCODE UserDn(LdapNames& names, const std::vector<NamePart>& path, std::string* dn);
