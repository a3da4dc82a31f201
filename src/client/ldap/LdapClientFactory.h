#pragma once

#include "client/DirectoryClient.h"
#include "client/ldap/connection/LdapSettings.h"

#include <memory>

// True when libldap's own configuration (ldap.conf, ldaprc, LDAPURI) names a server.
bool LdapServerConfigured();

// The LDAP backend, set up from libldap's configuration or from explicit settings.
std::unique_ptr<DirectoryClient> MakeLdapClient();
std::unique_ptr<DirectoryClient> MakeLdapClient(LdapSettings settings);
