#include "TlsServer.h"

std::string TlsServer::ReadValues() {
    const std::string shared = Assign({{"LDAPURI", &ldapUri},
                                       {"LDAPS_URI", &ldapsUri},
                                       {"ADMIN_DN", &adminDn},
                                       {"ADMIN_PASSWORD_FILE", &adminPassword, true},
                                       {"CA_FILE", &caFile}});
    const std::string own = ReadOwnValues();
    return shared.empty() ? own : shared;
}
