#pragma once

#include "ServerConnection.h"
#include "TlsServer.h"

#include <string>

// A throwaway 389 Directory Server built by scripts/dirsrv-fixture.sh in a temporary folder of its
// own, on 127.0.0.1 (free ports) and an ldapi socket. Sample tree under `suffix`: ou=People holding
// the ordinary administrator (all rights through an ACI, held to the 2,000-entry size limit), and
// ou=School holding "ou=Class 7b", "ou=v1.2" and ou=Alumni with 2,500 entries. Start() fails loudly
// when the server cannot be started: tests never skip over it.
class DirsrvServer : public TlsServer {
public:
    DirsrvServer();

    // SASL EXTERNAL here binds as the Directory Manager when the test runs as root.
    std::string ldapiUri;
    std::string suffix;
    std::string directoryManagerDn;
    std::string directoryManagerPassword;

private:
    std::string ReadOwnValues() override;
};

// Searches the server `view` is connected to has served, as its own SNMP counters (cn=snmp,cn=monitor)
// count them, the one reading them included; -1 when they cannot be read (the Directory Manager can).
long SearchesServed(ServerConnection& view);
