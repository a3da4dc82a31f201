#pragma once

#include "FixtureRunner.h"

#include <string>

// A throwaway server with an administrator who binds with a password over ldaps, verified against
// the test CA: what the 389 Directory Server and Samba AD DC fixtures have in common.
class TlsServer : public FixtureRunner {
public:
    std::string ldapUri;
    std::string ldapsUri;
    std::string adminDn;
    std::string adminPassword;
    // The test CA's certificate: verifies the server's for the address of `ldapsUri`.
    std::string caFile;

protected:
    using FixtureRunner::FixtureRunner;
    // What the kind of server prints beyond the shared values; empty when usable, else why not.
    virtual std::string ReadOwnValues() = 0;

private:
    std::string ReadValues() final;
};
