#include "SambaServer.h"

SambaServer::SambaServer() : TlsServer("samba-fixture.sh", "samba", "SAMBA_PID") {}

std::string SambaServer::ReadOwnValues() {
    return Assign({{"SAMBA_ADDRESS", &address}, {"REALM", &realm}, {"DNS_DOMAIN", &dnsDomain}, {"BASE_DN", &baseDn}});
}
