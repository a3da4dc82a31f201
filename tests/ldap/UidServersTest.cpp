// Linux logins on 389 Directory Server and Samba AD, and their uidNumbers where each server's own
// tools allocate them (the NIS domain object of Samba AD, 389's Distributed Numeric Assignment), read
// back through the test's own admin connection.
#include "AddRequest.h"
#include "DirectoryBinding.h"
#include "DirsrvServer.h"
#include "FixtureSuite.h"
#include "RecordingUi.h"
#include "SambaServer.h"
#include "TempFolder.h"
#include "client/BoundClient.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"
#include "client/ldap/users/ActiveDirectoryUidCounter.h"
#include "client/ldap/users/DirsrvDnaRange.h"

#include <gmock/gmock.h>

#include <set>
#include <thread>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;

namespace {
// The first value of `attribute` of `dn`, empty when there is none.
std::string ValueOf(ServerConnection& view, const std::string& dn, const std::string& attribute) {
    const auto result = view.Search(dn, LDAP_SCOPE_BASE, "(objectClass=*)", {attribute});
    if (result.entries.empty() || result.entries[0].attributes.count(attribute) == 0)
        return {};
    return result.entries[0].attributes.at(attribute).front();
}

// A simple bind over ldaps as `dn` (the suite trusts the server's test CA).
LdapSettings OverTls(const TlsServer& server, const std::string& dn, const std::string& password) {
    LdapSettings settings;
    settings.uri = server.ldapsUri;
    settings.bindDn = dn;
    settings.passwordFile = WriteFile(server.folder(), "bind.pw", password, 0600);
    return settings;
}

// The program's client bound with `settings` for the directory layer, its name context `container`;
// reserves `count` uidNumbers from `range` through it.
UidBlock ReserveThroughClient(LdapSettings settings, DirectoryUi& ui, const std::string& container, std::uint32_t count,
                              const UidRange& range) {
    BindAndStart(MakeLdapClient(std::move(settings)), ui);
    EXPECT_EQ(Client().QueryPosixSupport(), PosixLimit::None);
    NWDSContextHandle context = 0;
    EXPECT_EQ(Client().CreateContext(&context), 0);
    EXPECT_EQ(Client().SetContext(context, kContextNameContext, container.c_str()), 0);
    UidBlock block;
    EXPECT_EQ(Client().ReserveUidNumbers(context, count, range, &block), 0);
    return block;
}

// A User with a Linux login added through the program's client.
NWDSCCODE AddPosixUser(const std::string& container, const std::string& name, const std::string& uid) {
    return AddObject(Client(), container, name,
                     {{kObjectClassAttribute, kSyntaxClassName, kUserClass},
                      {kSurnameAttribute, kSyntaxCaseIgnoreString, "Posix"},
                      {kUidNumberAttribute, kSyntaxInteger, uid},
                      {kGidNumberAttribute, kSyntaxInteger, "4000"},
                      {kHomeDirectoryAttribute, kSyntaxCaseIgnoreString, "/home/" + name},
                      {kLoginShellAttribute, kSyntaxCaseIgnoreString, "/bin/sh"}});
}
} // namespace

// A suite on one throwaway server. New handles trust its test CA from the start, before any thread
// connects: libldap's process-wide TLS context must not be replaced under a handshake.
template <typename Server> class UidSuite : public FixtureSuite<Server> {
protected:
    static void SetUpTestSuite() {
        FixtureSuite<Server>::StartServer();
        EXPECT_TRUE(TrustForNewHandles(FixtureSuite<Server>::server->caFile));
    }
    void TearDown() override { ShutDownAndUnbind(); }
};

class SambaUidTest : public UidSuite<SambaServer> {
protected:
    // Reserves `count` numbers `times` over a session of its own; the first of each block, or the code.
    static std::vector<std::uint32_t> Reserve(std::uint32_t count, UidRange range, int times = 1) {
        LdapSession session(OverTls(*server, server->adminDn, server->adminPassword));
        EXPECT_EQ(session.Initialise() | session.Connect() | session.Bind(), LDAP_SUCCESS);
        std::vector<std::uint32_t> firsts;
        for (int i = 0; i < times; ++i) {
            std::uint32_t first = 0;
            const int code = ReserveAdUidNumbers(session, server->baseDn, count, range, &first);
            firsts.push_back(code == LDAP_SUCCESS ? first : static_cast<std::uint32_t>(code));
        }
        return firsts;
    }
};

// Provisioned with RFC 2307 attributes, the domain has the NIS domain object without a value: the
// first reservation gives it one, the next go on from it, two sessions at once never meet, and a
// full range moves nothing. Without the object (or its containers) the first reservation makes it
// after the highest uidNumber in use.
TEST_F(SambaUidTest, NisDomainCounterIsMadeOnFirstUseAndHandsOutEveryNumberOnce) {
    ServerConnection admin =
        ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    const std::string ypServers = "CN=ypservers,CN=ypServ30,CN=RpcServices,CN=System," + server->baseDn;
    const std::string nisDomain = "CN=ad," + ypServers;
    ASSERT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "");

    EXPECT_THAT(Reserve(5, {}), ElementsAre(10000u));
    EXPECT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "10005");

    std::vector<std::uint32_t> theirs;
    std::thread other([&] { theirs = Reserve(5, {}, 20); });
    std::vector<std::uint32_t> firsts = Reserve(5, {}, 20);
    other.join();
    firsts.insert(firsts.end(), theirs.begin(), theirs.end());
    std::set<std::uint32_t> numbers;
    for (const std::uint32_t first : firsts)
        numbers.insert({first, first + 1, first + 2, first + 3, first + 4});
    EXPECT_EQ(numbers.size(), 200u);
    EXPECT_EQ(*numbers.rbegin(), 10204u);

    EXPECT_THAT(Reserve(5, {10000, 10208}), ElementsAre(static_cast<std::uint32_t>(LDAP_SIZELIMIT_EXCEEDED)));
    EXPECT_EQ(ValueOf(admin, nisDomain, "msSFU30MaxUidNumber"), "10205");

    for (const std::string& dn : {nisDomain, "CN=bydefaults," + ypServers, ypServers})
        ASSERT_EQ(ldap_delete_ext_s(admin.handle(), dn.c_str(), nullptr, nullptr), LDAP_SUCCESS) << dn;
    ASSERT_EQ(admin.Add("CN=posix1,OU=Class 7b,OU=School," + server->baseDn,
                        {{"objectClass", {"user"}}, {"sAMAccountName", {"posix1"}}, {"uidNumber", {"10500"}}}),
              LDAP_SUCCESS);
    EXPECT_THAT(Reserve(3, {}), ElementsAre(10501u));
    const std::string made = "(&(objectClass=msSFU30DomainInfo)(msSFU30Domains=ad)(msSFU30MaxUidNumber=10504))";
    EXPECT_EQ(admin.Search(nisDomain, LDAP_SCOPE_BASE, made).entries.size(), 1u);
}

// Active Directory: the RFC 2307 attributes on the user itself, the home in unixHomeDirectory, the
// number from the NIS domain's counter, which moves up into a range above it (after the test before).
TEST_F(SambaUidTest, UsersCarryTheRfc2307Attributes) {
    ServerConnection admin =
        ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    ASSERT_EQ(admin.Add("ou=Posix," + server->baseDn, {{"objectClass", {"organizationalUnit"}}, {"ou", {"Posix"}}}),
              LDAP_SUCCESS);
    RecordingUi ui;
    const UidBlock block = ReserveThroughClient(OverTls(*server, server->adminDn, server->adminPassword), ui,
                                                "Posix.ad\\.example\\.com", 3, {41000, 41100});
    ASSERT_EQ(AddPosixUser("Posix.ad\\.example\\.com", "px", block.NumberAt(0)), 0);
    const auto user = admin.Search("cn=px,ou=Posix," + server->baseDn, LDAP_SCOPE_BASE).entries.at(0).attributes;
    EXPECT_THAT(user, Contains(Pair("uidNumber", std::vector<std::string>{"41000"})));
    EXPECT_THAT(user, Contains(Pair("gidNumber", std::vector<std::string>{"4000"})));
    EXPECT_THAT(user, Contains(Pair("unixHomeDirectory", std::vector<std::string>{"/home/px"})));
    EXPECT_THAT(user, Contains(Pair("loginShell", std::vector<std::string>{"/bin/sh"})));
}

class DirsrvUidTest : public UidSuite<DirsrvServer> {
protected:
    // What FindDnaUidMagic finds with `settings`; by default as the Directory Manager on the socket.
    static std::optional<std::string> Magic(LdapSettings settings = {}) {
        if (settings.uri.empty())
            settings.uri = server->ldapiUri;
        LdapSession session(std::move(settings));
        EXPECT_EQ(session.Initialise() | session.Connect() | session.Bind(), LDAP_SUCCESS);
        std::optional<std::string> magic = "unset";
        EXPECT_EQ(FindDnaUidMagic(session, server->suffix, &magic), LDAP_SUCCESS);
        return magic;
    }
};

// DNA as 389's own tools set it up for uidNumber below the suffix: the Directory Manager finds its
// magic value, an ordinary administrator (who cannot read cn=config) and a filter that does not
// hold every user find none, and adds carrying the value get distinct numbers from DNA's range.
TEST_F(DirsrvUidTest, DnaMagicValueGetsDistinctNumbersFromItsRange) {
    ServerConnection manager = ServerConnection::OverSocket(server->ldapiUri);
    EXPECT_EQ(Magic(), std::nullopt) << "the plugin is off as installed";
    const std::string config = "cn=UID numbers," + std::string(kDnaPluginDn);
    ASSERT_EQ(manager.Replace("cn=config", "nsslapd-dynamic-plugins", {"on"}), LDAP_SUCCESS);
    ASSERT_EQ(manager.Replace(kDnaPluginDn, "nsslapd-pluginEnabled", {"on"}), LDAP_SUCCESS);
    ASSERT_EQ(manager.Add(config, {{"objectClass", {"top", "extensibleObject"}},
                                   {"dnaType", {"uidNumber"}},
                                   {"dnaMagicRegen", {"-1"}},
                                   {"dnaFilter", {"(objectclass=posixAccount)"}},
                                   {"dnaScope", {server->suffix}},
                                   {"dnaNextValue", {"20000"}},
                                   {"dnaMaxValue", {"20999"}}}),
              LDAP_SUCCESS);

    EXPECT_EQ(Magic(), "-1");
    EXPECT_EQ(Magic(OverTls(*server, server->adminDn, server->adminPassword)), std::nullopt);
    RecordingUi ui;
    LdapSettings managerSettings;
    managerSettings.uri = server->ldapiUri;
    const UidBlock block = ReserveThroughClient(managerSettings, ui, "Class 7b.School.example\\.com", 4, {});
    EXPECT_EQ(block.serverValue, "-1");
    std::set<std::string> numbers;
    for (const std::string name : {"dna1", "dna2", "dna3", "dna4"}) {
        ASSERT_EQ(AddPosixUser("Class 7b.School.example\\.com", name, block.NumberAt(0)), 0);
        numbers.insert(ValueOf(manager, "cn=" + name + ",ou=Class 7b,ou=School," + server->suffix, "uidNumber"));
    }
    EXPECT_THAT(numbers, ElementsAre("20000", "20001", "20002", "20003"));

    ASSERT_EQ(manager.Replace(config, "dnaFilter", {"(&(objectClass=posixAccount)(ou=Staff))"}), LDAP_SUCCESS);
    EXPECT_EQ(Magic(), std::nullopt);
    EXPECT_EQ(ldap_delete_ext_s(manager.handle(), config.c_str(), nullptr, nullptr), LDAP_SUCCESS);
    EXPECT_EQ(manager.Replace(kDnaPluginDn, "nsslapd-pluginEnabled", {"off"}), LDAP_SUCCESS);
}

// Without DNA (and as an ordinary administrator, who cannot read cn=config), posixAccount in the same
// add and the numbers reserved from the counter entry.
TEST_F(DirsrvUidTest, UsersArePosixAccountsWithReservedNumbers) {
    RecordingUi ui;
    const UidBlock block = ReserveThroughClient(OverTls(*server, server->adminDn, server->adminPassword), ui,
                                                "People.example\\.com", 2, {40000, 40100});
    ASSERT_EQ(AddPosixUser("People.example\\.com", "px1", block.NumberAt(1)), 0);
    ServerConnection manager = ServerConnection::OverSocket(server->ldapiUri);
    const auto user = manager.Search("cn=px1,ou=People," + server->suffix, LDAP_SCOPE_BASE).entries.at(0).attributes;
    EXPECT_THAT(user, Contains(Pair("objectClass", Contains("posixAccount"))));
    EXPECT_THAT(user, Contains(Pair("uidNumber", std::vector<std::string>{"40001"})));
}
