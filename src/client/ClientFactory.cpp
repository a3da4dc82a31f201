#include "ClientFactory.h"

#include "embedded/EmbeddedClient.h"
#include "ldap/LdapConfig.h"

std::unique_ptr<DirectoryClient> MakeClient() {
    if (LdapServerConfigured())
        return MakeLdapClient();
    return MakeEmbeddedClient();
}
