#include "DirsrvServer.h"

DirsrvServer::DirsrvServer() : TlsServer("dirsrv-fixture.sh", "dirsrv", "DIRSRV_PID") {}

std::string DirsrvServer::ReadOwnValues() {
    return Assign({{"LDAPI_URI", &ldapiUri},
                   {"SUFFIX", &suffix},
                   {"DM_DN", &directoryManagerDn},
                   {"DM_PASSWORD_FILE", &directoryManagerPassword, true}});
}

long SearchesServed(ServerConnection& view) {
    const auto result = view.Search("cn=snmp,cn=monitor", LDAP_SCOPE_BASE, "(objectClass=*)", {"searchops"});
    if (result.entries.size() != 1 || result.entries[0].attributes.count("searchops") == 0)
        return -1;
    return std::stol(result.entries[0].attributes.at("searchops").front());
}
