#include "SlapdServer.h"

#include <ldap.h>

#include <cstdlib>

SlapdServer::SlapdServer() : FixtureRunner("slapd-fixture.sh", "slapd", "SLAPD_PID") {}

std::vector<std::string> SlapdServer::StartArguments(const std::vector<std::string>& ldifs) const {
    std::vector<std::string> arguments{port > 0 ? std::to_string(port) : std::string()};
    arguments.insert(arguments.end(), ldifs.begin(), ldifs.end());
    return arguments;
}

std::string SlapdServer::ReadValues() {
    std::string portText;
    std::string error = Assign({{"LDAPURI", &tcpUri},
                                {"LDAPI_URI", &ldapiUri},
                                {"SLAPD_PORT", &portText},
                                {"ADMIN_DN", &adminDn},
                                {"READER_DN", &readerDn},
                                {"READER_PASSWORD", &readerPassword}});
    port = std::atoi(portText.c_str());
    // The socket's path is the ldapi URI's host, as libldap reads it.
    LDAPURLDesc* url = nullptr;
    if (ldap_url_parse(ldapiUri.c_str(), &url) == LDAP_URL_SUCCESS && url->lud_host)
        ldapiSocket = url->lud_host;
    ldap_free_urldesc(url);
    return error;
}
