#pragma once

#include "FixtureRunner.h"
#include "ServerConnection.h"

#include <map>
#include <string>
#include <vector>

// A throwaway slapd built by scripts/slapd-fixture.sh in a temporary folder of its own, listening
// on 127.0.0.1 and an ldapi socket only, with the sample trees o=Acme and dc=example,dc=com.
class SlapdServer : public FixtureRunner {
public:
    SlapdServer();

    // The TCP port: the one to listen on at the first start (0: a free one the script chooses),
    // then the one in use; a restart keeps it.
    int port = 0;
    std::string tcpUri;
    std::string ldapiUri;
    // The path of the ldapi socket.
    std::string ldapiSocket;
    std::string adminDn;
    std::string readerDn;
    std::string readerPassword;

    // Adds a database for the naming context `suffix` to the running server's configuration (as
    // the administrator over the ldapi socket), its files in the subfolder `folderName`, writable
    // by the administrator and readable by all; then its top entry with `attributes`. The LDAP
    // result code.
    int AddNamingContext(const std::string& suffix, const std::string& folderName,
                         const std::map<std::string, std::vector<std::string>>& attributes) const;

private:
    std::vector<std::string> StartArguments(const std::vector<std::string>& ldifs) const override;
    std::string ReadValues() override;
};

// What cn=Monitor counts of one kind of `operation` ("Bind", "Search", ...) on the server `view` is
// connected to: `counter` is monitorOpInitiated or monitorOpCompleted. -1 when it cannot be read.
long OperationCount(ServerConnection& view, const std::string& operation, const std::string& counter);
