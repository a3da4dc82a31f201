// The scan's read of the whole tree on 389 Directory Server and Samba AD: each lists siblings in
// an order of its own, which the scan must keep, and 389 holds an ordinary user to limits the read
// runs into.
#include "DirectoryBinding.h"
#include "DirsrvServer.h"
#include "FixtureSuite.h"
#include "OrderTree.h"
#include "RecordingUi.h"
#include "SambaServer.h"
#include "TempFolder.h"
#include "WalkListings.h"
#include "client/ldap/LdapClientFactory.h"

#include <gmock/gmock.h>

namespace {
// The tree's size takes an ordinary user of 389 past its look-through limit (5,000) in one search.
std::string BigTree(const std::string& base) {
    std::string ldif = "dn: ou=Big," + base + "\nobjectClass: organizationalUnit\nou: Big\n\n";
    for (int unit = 0; unit < 30; ++unit) {
        const std::string dn = "ou=B" + std::to_string(unit) + ",ou=Big," + base;
        ldif += "dn: " + dn + "\nobjectClass: organizationalUnit\nou: B" + std::to_string(unit) + "\n\n";
        for (int user = 0; user < 100; ++user)
            ldif += "dn: cn=u" + std::to_string(user) + "," + dn + "\nobjectClass: person\ncn: u" +
                    std::to_string(user) + "\nsn: Big\n\n";
    }
    return ldif;
}
} // namespace

// The client under test bound over ldaps, trusting the test CA as libldap's settings would.
template <typename Server> class ScanReadSuite : public FixtureSuite<Server> {
protected:
    void TearDown() override { ShutDownAndUnbind(); }

    void BindAs(const std::string& dn, const std::string& password) {
        ASSERT_TRUE(TrustForNewHandles(this->server->caFile));
        LdapSettings settings;
        settings.uri = this->server->ldapsUri;
        settings.bindDn = dn;
        settings.passwordFile = WriteFile(folder_.path(), "password", password, 0600);
        ::BindAndStart(MakeLdapClient(std::move(settings)), ui_);
    }

    RecordingUi ui_;
    TempFolder folder_;
};

class DirsrvScanReadTest : public ScanReadSuite<DirsrvServer> {
protected:
    static void SetUpTestSuite() { StartServer(OrderTreeLdif("dc=example,dc=com") + BigTree("dc=example,dc=com")); }

    static ServerConnection DirectoryManager() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->directoryManagerDn,
                                         server->directoryManagerPassword);
    }
    // Searches the server has served, as its own monitor counts them.
    static long SearchesDone() {
        ServerConnection manager = DirectoryManager();
        return SearchesServed(manager);
    }
    static std::size_t CountAll() {
        return DirectoryManager().Search(server->suffix, LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"}).entries.size();
    }
};

TEST_F(DirsrvScanReadTest, UnlimitedManagerGetsOneLevelListingsFromOneRead) {
    BindAs(server->directoryManagerDn, server->directoryManagerPassword);
    const long before = SearchesDone();
    const auto listings = WalkListings();
    const long searches = SearchesDone() - before - 1;

    EXPECT_EQ(CountListed(listings), CountAll());
    EXPECT_GT(listings.size(), 60u);
    EXPECT_LE(searches, 12) << listings.size() << " containers";
    ExpectOneLevelListingsAgree(listings);
}

// Too large a tree for one search of the ordinary administrator: every container is listed one level.
TEST_F(DirsrvScanReadTest, OrdinaryAdministratorFallsBackToOneLevelListings) {
    BindAs(server->adminDn, server->adminPassword);
    const long before = SearchesDone();
    const auto listings = WalkListings();
    const long searches = SearchesDone() - before - 1;

    EXPECT_EQ(CountListed(listings), CountAll()); // Alumni's 2,500 too, above the 2,000 limit
    EXPECT_GE(searches, static_cast<long>(listings.size()));
    ExpectOneLevelListingsAgree(listings);
    EXPECT_TRUE(ui_.messages.empty());
}

class SambaScanReadTest : public ScanReadSuite<SambaServer> {
protected:
    static void SetUpTestSuite() { StartServer(OrderTreeLdif("DC=ad,DC=example,DC=com", true)); }
};

// Samba lists siblings by their objectGUID, a subtree search in an order of its own.
TEST_F(SambaScanReadTest, AdministratorGetsOneLevelListingsInSambasOrder) {
    BindAs(server->adminDn, server->adminPassword);
    const auto listings = WalkListings();
    // [Root], the domain, its OUs (Domain Controllers, School and its 3, the order tree).
    EXPECT_EQ(listings.size(), 1u + 1u + 1u + 4u + static_cast<std::size_t>(kOrderTreeContainers));
    ExpectOneLevelListingsAgree(listings);
    EXPECT_TRUE(ui_.messages.empty());
}
