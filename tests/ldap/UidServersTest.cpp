// uidNumbers where each server's own tools allocate them: the NIS domain object of Samba AD, and
// 389 Directory Server's Distributed Numeric Assignment plugin, read back through the test's own
// admin connection.
#include "DirsrvServer.h"
#include "FixtureSuite.h"
#include "SambaServer.h"
#include "TempFolder.h"
#include "client/ldap/users/ActiveDirectoryUidCounter.h"
#include "client/ldap/users/DirsrvDnaRange.h"

#include <gmock/gmock.h>

#include <set>
#include <thread>

using ::testing::ElementsAre;

namespace {
// The first value of `attribute` of `dn`, empty when there is none.
std::string ValueOf(ServerConnection& view, const std::string& dn, const std::string& attribute) {
    const auto result = view.Search(dn, LDAP_SCOPE_BASE, "(objectClass=*)", {attribute});
    if (result.entries.empty() || result.entries[0].attributes.count(attribute) == 0)
        return {};
    return result.entries[0].attributes.at(attribute).front();
}
} // namespace

class SambaUidTest : public FixtureSuite<SambaServer> {
protected:
    static void SetUpTestSuite() { StartServer(); }

    ServerConnection Admin() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    }
    // Reserves `count` numbers `times` over a session of its own; the first of each block, or the code.
    std::vector<std::uint32_t> Reserve(std::uint32_t count, UidRange range, int times = 1) {
        EXPECT_TRUE(TrustForNewHandles(server->caFile));
        LdapSettings settings;
        settings.uri = server->ldapsUri;
        settings.bindDn = server->adminDn;
        settings.passwordFile = WriteFile(folder_.path(), "admin.pw", server->adminPassword, 0600);
        LdapSession session(settings);
        EXPECT_EQ(session.Initialise() | session.Connect() | session.Bind(), LDAP_SUCCESS);
        std::vector<std::uint32_t> firsts;
        for (int i = 0; i < times; ++i) {
            std::uint32_t first = 0;
            const int code = ReserveAdUidNumbers(session, server->baseDn, count, range, &first);
            firsts.push_back(code == LDAP_SUCCESS ? first : static_cast<std::uint32_t>(code));
        }
        return firsts;
    }

    TempFolder folder_;
};

// Provisioned with RFC 2307 attributes, the domain has the NIS domain object without a value: the
// first reservation gives it one, the next go on from it, two sessions at once never meet, and a
// full range moves nothing. Without the object (or its containers) the first reservation makes it
// after the highest uidNumber in use.
TEST_F(SambaUidTest, NisDomainCounterIsMadeOnFirstUseAndHandsOutEveryNumberOnce) {
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.bindCode(), LDAP_SUCCESS);
    const std::string ypServers = "CN=ypservers,CN=ypServ30,CN=RpcServices,CN=System," + server->baseDn;
    const std::string nisDomain = "CN=ad," + ypServers;
    ASSERT_EQ(ValueOf(admin, nisDomain, "msSFU30Domains"), "ad");
    ASSERT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "");

    EXPECT_THAT(Reserve(5, {}), ElementsAre(10000u));
    EXPECT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "10005");

    std::vector<std::uint32_t> theirs;
    std::thread other([&] { theirs = Reserve(5, {}, 20); });
    std::vector<std::uint32_t> mine = Reserve(5, {}, 20);
    other.join();
    std::set<std::uint32_t> numbers;
    for (const auto* firsts : {&mine, &theirs}) {
        for (const std::uint32_t first : *firsts) {
            for (std::uint32_t k = 0; k < 5; ++k)
                numbers.insert(first + k);
        }
    }
    ASSERT_EQ(numbers.size(), 200u);
    EXPECT_EQ(*numbers.begin(), 10005u);
    EXPECT_EQ(*numbers.rbegin(), 10204u);

    EXPECT_THAT(Reserve(5, {10000, 10208}), ElementsAre(static_cast<std::uint32_t>(LDAP_SIZELIMIT_EXCEEDED)));
    EXPECT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "10205");

    for (const std::string& dn : {nisDomain, "CN=bydefaults," + ypServers, ypServers})
        ASSERT_EQ(ldap_delete_ext_s(admin.handle(), dn.c_str(), nullptr, nullptr), LDAP_SUCCESS) << dn;
    ASSERT_EQ(admin.Add("CN=posix1,OU=Class 7b,OU=School," + server->baseDn,
                        {{"objectClass", {"user"}}, {"sAMAccountName", {"posix1"}}, {"uidNumber", {"10500"}}}),
              LDAP_SUCCESS);
    EXPECT_THAT(Reserve(3, {}), ElementsAre(10501u));
    EXPECT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "10504");
    EXPECT_EQ(ValueOf(admin, nisDomain, "msSFU30Domains"), "ad");
    const auto classes = admin.Search(nisDomain, LDAP_SCOPE_BASE, "(objectClass=msSFU30DomainInfo)", {"1.1"});
    EXPECT_EQ(classes.entries.size(), 1u);
}
