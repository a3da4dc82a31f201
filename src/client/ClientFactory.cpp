#include "ClientFactory.h"

#include "EmbeddedClient.h"
#include "LdapClientFactory.h"

std::unique_ptr<DirectoryClient> MakeClient() {
    if (LdapServerConfigured())
        return MakeLdapClient();
    return MakeEmbeddedClient();
}
