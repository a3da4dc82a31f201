#include "client/ldap/LdapClientFactory.h"

#include "client/ldap/LdapClient.h"

bool LdapServerConfigured() {
    return !LdapSettingsFromEnvironment().uri.empty();
}

std::unique_ptr<DirectoryClient> MakeLdapClient() {
    return MakeLdapClient(LdapSettingsFromEnvironment());
}

std::unique_ptr<DirectoryClient> MakeLdapClient(LdapSettings settings) {
    return std::make_unique<LdapClient>(std::move(settings));
}
