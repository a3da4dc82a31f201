#include "DirsrvServer.h"
#include "FixtureSuite.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class DirsrvFixtureTest : public FixtureSuite<DirsrvServer> {
protected:
    static void SetUpTestSuite() {
        StartServer("dn: ou=Staff,dc=example,dc=com\nobjectClass: top\nobjectClass: organizationalUnit\nou: Staff\n");
    }
    static ServerConnection Admin() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    }
    static ServerConnection DirectoryManager() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->directoryManagerDn,
                                         server->directoryManagerPassword);
    }
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
    EXPECT_THAT(SortedDns(top), ElementsAre("ou=People,dc=example,dc=com", "ou=School,dc=example,dc=com",
                                            "ou=Staff,dc=example,dc=com"));
    const auto school = admin.Search("ou=School," + server->suffix, LDAP_SCOPE_ONELEVEL);
    EXPECT_EQ(school.code, LDAP_SUCCESS);
    EXPECT_THAT(SortedDns(school),
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
    ExpectKilledServerKeeps(DirectoryManager, "ou=Staff," + server->suffix);
}
