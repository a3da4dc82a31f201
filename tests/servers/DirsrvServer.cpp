#include "DirsrvServer.h"

DirsrvServer::DirsrvServer() : TlsServer("dirsrv-fixture.sh", "dirsrv", "DIRSRV_PID") {}

std::string DirsrvServer::ReadOwnValues() {
    return Assign({{"LDAPI_URI", &ldapiUri},
                   {"SUFFIX", &suffix},
                   {"DM_DN", &directoryManagerDn},
                   {"DM_PASSWORD_FILE", &directoryManagerPassword, true}});
}
