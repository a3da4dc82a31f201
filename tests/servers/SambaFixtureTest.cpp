#include "FixtureSuite.h"
#include "SambaServer.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

class SambaFixtureTest : public FixtureSuite<SambaServer> {
protected:
    static void SetUpTestSuite() {
        StartServer("dn: OU=Staff,DC=ad,DC=example,DC=com\nobjectClass: organizationalUnit\n");
    }
    static ServerConnection Admin() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    }
};

TEST_F(SambaFixtureTest, AdministratorBindsOverLdapsTrustingTheTestCa) {
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    const auto root = admin.Search("", LDAP_SCOPE_BASE, "(objectClass=*)", {"defaultNamingContext", "dnsHostName"});
    ASSERT_EQ(root.entries.size(), 1u);
    EXPECT_THAT(root.entries[0].attributes.at("defaultNamingContext"), ElementsAre(server->baseDn));
    EXPECT_THAT(root.entries[0].attributes.at("dnsHostName"), ElementsAre("dc1." + server->dnsDomain));
    EXPECT_EQ(ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, "wrong").bindCode(),
              LDAP_INVALID_CREDENTIALS);
}

TEST_F(SambaFixtureTest, SampleTreeAndExtraLdifAreThere) {
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    const auto staff = admin.Search("OU=Staff," + server->baseDn, LDAP_SCOPE_BASE);
    EXPECT_EQ(staff.code, LDAP_SUCCESS);
    const auto school = admin.Search("OU=School," + server->baseDn, LDAP_SCOPE_ONELEVEL);
    EXPECT_EQ(school.code, LDAP_SUCCESS);
    EXPECT_THAT(SortedDns(school), ElementsAre("OU=Alumni,OU=School,DC=ad,DC=example,DC=com",
                                               "OU=Class 7b,OU=School,DC=ad,DC=example,DC=com",
                                               "OU=v1.2,OU=School,DC=ad,DC=example,DC=com"));
    const auto alumni =
        admin.Search("OU=Alumni,OU=School," + server->baseDn, LDAP_SCOPE_ONELEVEL, "(objectClass=user)", {"1.1"});
    EXPECT_EQ(alumni.code, LDAP_SUCCESS);
    EXPECT_EQ(alumni.entries.size(), 2500u);
}

TEST_F(SambaFixtureTest, KilledServerStartsAgainOnItsData) {
    ExpectKilledServerKeeps(Admin, "OU=Staff," + server->baseDn);
}
