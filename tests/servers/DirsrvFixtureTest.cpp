#include "DirsrvServer.h"
#include "ServerConnection.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <fstream>
#include <memory>

using ::testing::ElementsAre;

namespace {
std::vector<std::string> Dns(const ServerConnection::Result& result) {
    std::vector<std::string> dns;
    for (const auto& entry : result.entries)
        dns.push_back(entry.dn);
    std::sort(dns.begin(), dns.end());
    return dns;
}
} // namespace

// One instance for the whole executable, as the integration tests use it: built once, with an extra
// LDIF file imported beside the sample tree.
class DirsrvFixtureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<DirsrvServer>();
        const std::string ldif = server->folder() + "/staff.ldif";
        std::ofstream(ldif) << "dn: ou=Staff,dc=example,dc=com\nobjectClass: top\nobjectClass: organizationalUnit\n"
                               "ou: Staff\n";
        startError = server->Start({ldif});
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override { ASSERT_EQ(startError, "") << "389 Directory Server did not start"; }

    static ServerConnection Admin() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    }
    static ServerConnection DirectoryManager() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->directoryManagerDn,
                                         server->directoryManagerPassword);
    }

    static inline std::unique_ptr<DirsrvServer> server;
    static inline std::string startError;
};

TEST_F(DirsrvFixtureTest, AdministratorsBindOverLdapsTrustingTheTestCa) {
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    EXPECT_EQ(admin.WhoAmI(), "dn: uid=admin,ou=people,dc=example,dc=com");
    ServerConnection manager = DirectoryManager();
    ASSERT_EQ(manager.bindCode(), LDAP_SUCCESS);
    EXPECT_EQ(manager.WhoAmI(), "dn: cn=directory manager");
    // The fixture runs as root, whom the ldapi socket maps to the Directory Manager (spelt as
    // configured here, where a simple bind's identity comes back in lower case).
    ServerConnection socket = ServerConnection::OverSocket(server->ldapiUri);
    ASSERT_EQ(socket.bindCode(), LDAP_SUCCESS);
    EXPECT_EQ(socket.WhoAmI(), "dn: cn=Directory Manager");
    EXPECT_EQ(ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, "wrong").bindCode(),
              LDAP_INVALID_CREDENTIALS);
}

TEST_F(DirsrvFixtureTest, SampleTreeAndExtraLdifAreThere) {
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    const auto top = admin.Search(server->suffix, LDAP_SCOPE_ONELEVEL);
    EXPECT_EQ(top.code, LDAP_SUCCESS);
    EXPECT_THAT(Dns(top), ElementsAre("ou=People,dc=example,dc=com", "ou=School,dc=example,dc=com",
                                      "ou=Staff,dc=example,dc=com"));
    const auto school = admin.Search("ou=School," + server->suffix, LDAP_SCOPE_ONELEVEL);
    EXPECT_EQ(school.code, LDAP_SUCCESS);
    EXPECT_THAT(Dns(school),
                ElementsAre("ou=Alumni,ou=School,dc=example,dc=com", "ou=Class 7b,ou=School,dc=example,dc=com",
                            "ou=v1.2,ou=School,dc=example,dc=com"));
}

TEST_F(DirsrvFixtureTest, OrdinaryAdministratorIsHeldToTheSizeLimitAndTheManagerIsNot) {
    const std::string alumni = "ou=Alumni,ou=School," + server->suffix;
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    const auto limited = admin.Search(alumni, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"1.1"});
    EXPECT_EQ(limited.code, LDAP_SIZELIMIT_EXCEEDED);
    EXPECT_EQ(limited.entries.size(), 2000u);

    ServerConnection manager = DirectoryManager();
    ASSERT_EQ(manager.bindCode(), LDAP_SUCCESS);
    const auto all = manager.Search(alumni, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"1.1"});
    EXPECT_EQ(all.code, LDAP_SUCCESS);
    EXPECT_EQ(all.entries.size(), 2500u);
}

TEST_F(DirsrvFixtureTest, KilledServerStartsAgainOnItsData) {
    server->Kill();
    ASSERT_EQ(server->Restart(), "");
    ServerConnection manager = DirectoryManager();
    ASSERT_EQ(manager.bindCode(), LDAP_SUCCESS);
    EXPECT_EQ(manager.Search("ou=Staff," + server->suffix, LDAP_SCOPE_BASE).code, LDAP_SUCCESS);
}
