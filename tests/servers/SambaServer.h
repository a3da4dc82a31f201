#pragma once

#include "FixtureRunner.h"

#include <string>
#include <vector>

// A throwaway Samba AD domain controller provisioned by scripts/samba-fixture.sh in a temporary
// folder of its own, serving LDAP on a loopback address of its own (Samba's ports are fixed, so
// two instances never share an address). Simple binds need TLS: use `ldapsUri` with `caFile`.
// Sample tree under `baseDn`: OU=School holding "OU=Class 7b", "OU=v1.2" and OU=Alumni with 2,500
// users. Needs root. Start() fails loudly when the server cannot be started.
class SambaServer {
public:
    SambaServer();

    // Provisions the domain, with `ldifs` added beside the sample tree, and starts samba; empty on
    // success, else why not.
    std::string Start(const std::vector<std::string>& ldifs = {});
    // Starts it again on the same data and address after Stop() or Kill().
    std::string Restart() { return Start(); }
    void Stop() { runner_.Stop(); }
    // SIGKILL, as a crash would end it.
    void Kill() { runner_.Kill(); }

    const std::string& folder() const { return runner_.folder(); }
    pid_t pid() const { return runner_.pid(); }

    std::string ldapUri;
    std::string ldapsUri;
    std::string address;
    std::string realm;
    // The domain's DNS name, as in userPrincipalName (login@dnsDomain).
    std::string dnsDomain;
    std::string baseDn;
    std::string adminDn;
    std::string adminPassword;
    // The test CA's certificate: verifies the server's for `address`.
    std::string caFile;

private:
    FixtureRunner runner_;
};
