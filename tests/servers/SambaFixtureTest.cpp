#include "SambaServer.h"
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

// One domain for the whole executable, as the integration tests use it: provisioned once, with an
// extra LDIF file added beside the sample tree.
class SambaFixtureTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<SambaServer>();
        const std::string ldif = server->folder() + "/staff.ldif";
        std::ofstream(ldif) << "dn: OU=Staff,DC=ad,DC=example,DC=com\nobjectClass: organizationalUnit\n";
        startError = server->Start({ldif});
    }
    static void TearDownTestSuite() { server.reset(); }
    void SetUp() override { ASSERT_EQ(startError, "") << "Samba AD DC did not start"; }

    static ServerConnection Admin() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    }

    static inline std::unique_ptr<SambaServer> server;
    static inline std::string startError;
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
    EXPECT_THAT(Dns(school), ElementsAre("OU=Alumni,OU=School,DC=ad,DC=example,DC=com",
                                         "OU=Class 7b,OU=School,DC=ad,DC=example,DC=com",
                                         "OU=v1.2,OU=School,DC=ad,DC=example,DC=com"));
    const auto alumni =
        admin.Search("OU=Alumni,OU=School," + server->baseDn, LDAP_SCOPE_ONELEVEL, "(objectClass=user)", {"1.1"});
    EXPECT_EQ(alumni.code, LDAP_SUCCESS);
    EXPECT_EQ(alumni.entries.size(), 2500u);
}

TEST_F(SambaFixtureTest, KilledServerStartsAgainOnItsData) {
    server->Kill();
    ASSERT_EQ(server->Restart(), "");
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    EXPECT_EQ(admin.Search("OU=Staff," + server->baseDn, LDAP_SCOPE_BASE).code, LDAP_SUCCESS);
}
