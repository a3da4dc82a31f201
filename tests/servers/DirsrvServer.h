#pragma once

#include "FixtureRunner.h"

#include <string>
#include <vector>

// A throwaway 389 Directory Server built by scripts/dirsrv-fixture.sh in a temporary folder of its
// own, on 127.0.0.1 (free ports) and an ldapi socket. Sample tree under `suffix`: ou=People holding
// the ordinary administrator (all rights through an ACI, held to the 2,000-entry size limit), and
// ou=School holding "ou=Class 7b", "ou=v1.2" and ou=Alumni with 2,500 entries. Start() fails loudly
// when the server cannot be started: tests never skip over it.
class DirsrvServer {
public:
    DirsrvServer();

    // Builds the instance, with `ldifs` imported beside the sample tree, and starts it; empty on
    // success, else why not.
    std::string Start(const std::vector<std::string>& ldifs = {});
    // Starts it again on the same data and ports after Stop() or Kill().
    std::string Restart() { return Start(); }
    void Stop() { runner_.Stop(); }
    // SIGKILL, as a crash would end it.
    void Kill() { runner_.Kill(); }

    const std::string& folder() const { return runner_.folder(); }
    pid_t pid() const { return runner_.pid(); }

    std::string ldapUri;
    std::string ldapsUri;
    // SASL EXTERNAL here binds as the Directory Manager when the test runs as root.
    std::string ldapiUri;
    std::string suffix;
    std::string directoryManagerDn;
    std::string directoryManagerPassword;
    std::string adminDn;
    std::string adminPassword;
    // The test CA's certificate: verifies the server's for 127.0.0.1.
    std::string caFile;

private:
    FixtureRunner runner_;
};
