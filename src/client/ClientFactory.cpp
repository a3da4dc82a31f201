#include "client/ClientFactory.h"

#include "client/embedded/EmbeddedClient.h"
#include "client/ldap/LdapClientFactory.h"

std::unique_ptr<DirectoryClient> MakeClient() {
    if (LdapServerConfigured())
        return MakeLdapClient();
    return MakeEmbeddedClient();
}
