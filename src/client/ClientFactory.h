#pragma once

#include "client/DirectoryClient.h"

#include <memory>

// The client the program binds at start: the LDAP backend when the standard OpenLDAP client
// configuration names a server, otherwise the embedded directory.
std::unique_ptr<DirectoryClient> MakeClient();
