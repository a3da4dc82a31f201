// The scan's read of the whole tree against a real slapd: the scan gets what one-level listings
// give, in the same order, from a handful of searches (counted by the server itself), and falls
// back to one-level listings where the read cannot vouch for a container.
#include "LdapDirectoryFixture.h"
#include "OrderTree.h"
#include "WalkListings.h"
#include "directory/TNDSObj.h"

#include <gmock/gmock.h>

#include <fstream>

using ::testing::Contains;
using ::testing::Pair;

namespace {
// Entries of both databases of the sample, naming contexts included.
std::size_t CountAll(ServerConnection& view) {
    return view.Search("o=Acme", LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"}).entries.size() +
           view.Search("dc=example,dc=com", LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"}).entries.size();
}

// `count` units with a user each below `parent`.
std::string Units(const std::string& parent, int count) {
    std::string ldif;
    for (int i = 0; i < count; ++i) {
        const std::string unit = "ou=U" + std::to_string(i) + "," + parent;
        ldif += "dn: " + unit + "\nobjectClass: organizationalUnit\nou: U" + std::to_string(i) + "\n\n";
        ldif += "dn: cn=user," + unit + "\nobjectClass: inetOrgPerson\ncn: user\nsn: Unit\n\n";
    }
    return ldif;
}
} // namespace

// Below o=Acme: the order tree, ou=Many with 60 units, ou=Wide with more users than a one-level
// listing's first page holds, ou=Intl with a name slapd normalises in a way of its own, and
// ou=Twins with siblings whose names read alike, which listings hand out typed.
class LdapScanReadTest : public LdapDirectoryTest {
protected:
    std::vector<std::string> ExtraLdif() override {
        std::string ldif = OrderTreeLdif("o=Acme");
        ldif += "dn: ou=Many,o=Acme\nobjectClass: organizationalUnit\nou: Many\n\n" + Units("ou=Many,o=Acme", 60);
        ldif += "dn: ou=Wide,o=Acme\nobjectClass: organizationalUnit\nou: Wide\n\n";
        for (int i = 600; i > 0; --i)
            ldif += "dn: cn=w" + std::to_string(i) + ",ou=Wide,o=Acme\nobjectClass: inetOrgPerson\ncn: w" +
                    std::to_string(i) + "\nsn: Wide\n\n";
        ldif += "dn: ou=Intl,o=Acme\nobjectClass: organizationalUnit\nou: Intl\n\n"
                "dn: ou=Zurich,ou=Intl,o=Acme\nobjectClass: organizationalUnit\nou: Zurich\n\n"
                "dn: ou=\xC3\x9C"
                "ber,ou=Intl,o=Acme\nobjectClass: organizationalUnit\nou: \xC3\x9C"
                "ber\n\n"
                "dn: ou=Bern,ou=Intl,o=Acme\nobjectClass: organizationalUnit\nou: Bern\n\n";
        ldif += "dn: ou=Twins,o=Acme\nobjectClass: organizationalUnit\nou: Twins\n\n"
                "dn: ou=Twin,ou=Twins,o=Acme\nobjectClass: organizationalUnit\nou: Twin\n\n"
                "dn: o=Twin,ou=Twins,o=Acme\nobjectClass: organization\no: Twin\n\n"
                "dn: cn=Twin,ou=Twins,o=Acme\nobjectClass: inetOrgPerson\ncn: Twin\nsn: Twin\n\n"
                "dn: ou=Inner,ou=Twin,ou=Twins,o=Acme\nobjectClass: organizationalUnit\nou: Inner\n\n"
                "dn: cn=inner,o=Twin,ou=Twins,o=Acme\nobjectClass: inetOrgPerson\ncn: inner\nsn: Twin\n\n";
        const std::string path = server.folder() + "/tree.ldif";
        std::ofstream(path) << ldif;
        return {path};
    }
};

TEST_F(LdapScanReadTest, ScanGetsTheOneLevelListingsFromAHandfulOfSearches) {
    BindAndStart(AdminSettings());
    ServerConnection view = View();
    const long before = OperationCount(view, "Search", "monitorOpCompleted");
    const auto listings = WalkListings();
    const long searches =
        OperationCount(view, "Search", "monitorOpCompleted") - before - 1; // less the count's own search

    // [Root], the sample's 5 containers, the order tree, Many and its units, Wide, Intl and its 3,
    // Twins, its two containers and Inner.
    const std::size_t containers = 1 + 5 + kOrderTreeContainers + 61 + 1 + 4 + 4;
    EXPECT_EQ(listings.size(), containers);
    EXPECT_EQ(CountListed(listings), CountAll(view));
    // One-level listings would have taken a search each; Wide and Intl took theirs.
    EXPECT_LE(searches, 15) << "searches for " << containers << " containers";
    EXPECT_GE(searches, 5);
    EXPECT_THAT(listings, Contains(::testing::Field(&WalkedListing::entries,
                                                    ::testing::ElementsAre(Pair("Z1", "Organizational Unit"),
                                                                           Pair("Z2", "Organizational Unit"),
                                                                           Pair("lead", "User")))));
    // Served from the read, colliding names go out typed and name their containers exactly.
    EXPECT_THAT(listings, Contains(::testing::Field(&WalkedListing::entries,
                                                    ::testing::UnorderedElementsAre(
                                                        Pair("ou=Twin", "Organizational Unit"),
                                                        Pair("o=Twin", "Organization"), Pair("cn=Twin", "User")))));
    EXPECT_THAT(listings, Contains(::testing::AllOf(::testing::Field(&WalkedListing::container, ".o=Twin.Twins.Acme"),
                                                    ::testing::Field(&WalkedListing::entries,
                                                                     ::testing::ElementsAre(Pair("inner", "User"))))));
    ExpectOneLevelListingsAgree(listings);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LdapScanReadTest, SizeLimitedIdentityFallsBackToOneLevelListings) {
    // The reader may see 50 entries in one search and 700 in all pages of one: the read of o=Acme
    // (some 900 entries) stops short, while every container, Wide too, can be listed whole.
    {
        ServerConnection admin = View();
        ASSERT_EQ(admin.AddValues("olcDatabase={1}mdb,cn=config", "olcLimits",
                                  {"{0}dn.exact=\"" + server.readerDn + "\" size=50 size.prtotal=700"}),
                  LDAP_SUCCESS);
    }
    server.Stop(); // slapd takes changed limits at its start
    ASSERT_EQ(server.Restart(), "");
    BindAndStart(ReaderSettings());
    ServerConnection view = View();
    const long before = OperationCount(view, "Search", "monitorOpCompleted");
    const auto listings = WalkListings();
    const long searches = OperationCount(view, "Search", "monitorOpCompleted") - before - 1;

    EXPECT_EQ(CountListed(listings), CountAll(view));
    EXPECT_GE(searches, static_cast<long>(listings.size()) - 10) << "o=Acme's containers listed one level each";
    ExpectOneLevelListingsAgree(listings);
}

TEST_F(LdapScanReadTest, EachScanReadsTheTreeAfresh) {
    BindAndStart(AdminSettings());
    const auto first = WalkListings();
    ServerConnection view = View();
    ASSERT_EQ(view.Add("ou=Later,ou=Bb,ou=Order,o=Acme", {{"objectClass", {"organizationalUnit"}}, {"ou", {"Later"}}}),
              LDAP_SUCCESS);
    ASSERT_EQ(view.Add("cn=new,ou=Later,ou=Bb,ou=Order,o=Acme",
                       {{"objectClass", {"inetOrgPerson"}}, {"cn", {"new"}}, {"sn", {"New"}}}),
              LDAP_SUCCESS);
    const auto second = WalkListings();
    EXPECT_EQ(second.size(), first.size() + 1);
    EXPECT_EQ(CountListed(second), CountListed(first) + 2);
    EXPECT_THAT(second, Contains(::testing::Field(&WalkedListing::container, ".Later.Bb.Order.Acme")));
    ExpectOneLevelListingsAgree(second);
}

// A walk given up while the read runs ends the read; the next scan reads again and is whole.
TEST_F(LdapScanReadTest, ScanGivenUpDuringTheReadEndsItAndTheNextIsWhole) {
    BindAndStart(AdminSettings());
    {
        struct StopAtOnce final : TreeWalkVisitor {
            bool EntryListed(const WalkedContainer&, std::string_view, std::string_view) override { return true; }
            bool StopRequested() override { return ++asked > 1; }
            int asked = 0;
        } stop;
        EXPECT_FALSE(WalkTree(stop));
    }
    ServerConnection view = View();
    const auto listings = WalkListings();
    EXPECT_EQ(CountListed(listings), CountAll(view));
    ExpectOneLevelListingsAgree(listings);
}
