#pragma once

#include "ServerConnection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

// The DNs of a search's entries, sorted.
inline std::vector<std::string> SortedDns(const ServerConnection::Result& result) {
    std::vector<std::string> dns;
    for (const auto& entry : result.entries)
        dns.push_back(entry.dn);
    std::sort(dns.begin(), dns.end());
    return dns;
}

// One server for the whole executable, as the integration tests use it: built once, with an extra
// LDIF file imported beside the sample tree. `Base` is the test fixture to build on.
template <typename Server, typename Base = ::testing::Test> class FixtureSuite : public Base {
protected:
    // Builds and starts the server, with an extra LDIF file holding `ldifText` unless it is empty.
    static void StartServer(const std::string& ldifText = {}) {
        server = std::make_unique<Server>();
        std::vector<std::string> ldifs;
        if (!ldifText.empty()) {
            ldifs.push_back(server->folder() + "/extra.ldif");
            std::ofstream(ldifs.back()) << ldifText;
        }
        startError = server->Start(ldifs);
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override { ASSERT_EQ(startError, "") << "the throwaway server did not start"; }

    // Kills the server, starts it again, and checks that `dn` is still there through a fresh
    // connection from `connect`.
    static void ExpectKilledServerKeeps(ServerConnection (*connect)(), const std::string& dn) {
        server->Kill();
        ASSERT_EQ(server->Restart(), "");
        ServerConnection connection = connect();
        ASSERT_EQ(connection.bindCode(), LDAP_SUCCESS);
        EXPECT_EQ(connection.Search(dn, LDAP_SCOPE_BASE).code, LDAP_SUCCESS);
    }

    static inline std::unique_ptr<Server> server;
    static inline std::string startError;
};
