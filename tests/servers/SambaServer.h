#pragma once

#include "TlsServer.h"

#include <string>

// A throwaway Samba AD domain controller provisioned by scripts/samba-fixture.sh in a temporary
// folder of its own, serving LDAP on a loopback address of its own (Samba's ports are fixed, so
// two instances never share an address). Simple binds need TLS: use `ldapsUri` with `caFile`.
// Sample tree under `baseDn`: OU=School holding "OU=Class 7b", "OU=v1.2" and OU=Alumni with 2,500
// users. Needs root. Start() fails loudly when the server cannot be started.
class SambaServer : public TlsServer {
public:
    SambaServer();

    std::string address;
    std::string realm;
    // The domain's DNS name, as in userPrincipalName (login@dnsDomain).
    std::string dnsDomain;
    std::string baseDn;

private:
    std::string ReadOwnValues() override;
};
