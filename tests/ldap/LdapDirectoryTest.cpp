#include "LdapDirectoryFixture.h"
#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/users/LdapUidCounter.h"
#include "directory/CreateUserObject.h"
#include "directory/DirectoryQueries.h"
#include "directory/GetIdentityName.h"
#include "directory/TNDSObj.h"

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <thread>

using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

namespace {
std::string Value(const ServerConnection::Entry& entry, const std::string& attribute) {
    auto it = entry.attributes.find(attribute);
    return it == entry.attributes.end() || it->second.size() != 1 ? std::string("<not one value>") : it->second.front();
}

// Entries in both databases of the sample together.
std::size_t CountAll(ServerConnection& view) {
    return view.Search("o=Acme", LDAP_SCOPE_SUBTREE).entries.size() +
           view.Search("dc=example,dc=com", LDAP_SCOPE_SUBTREE).entries.size();
}
} // namespace

TEST_F(LdapDirectoryTest, SampleTreeScansLikeTheEmbeddedSample) {
    BindAndStart(AdminSettings());
    EXPECT_EQ(GetIdentityName(DirContext), "cn=admin,o=acme");
    EXPECT_NE(ClientHandle, kClientNotStarted);

    const ScannedTree tree = Scan();
    // In the order the walk finds them: both top containers first, then each one's children.
    EXPECT_THAT(tree.containers,
                ElementsAre(Pair("Acme", "Organization"), Pair("example\\.com", "Organization"),
                            Pair("Sales.Acme", "Organizational Unit"), Pair("East.Sales.Acme", "Organizational Unit"),
                            Pair("People.example\\.com", "Organizational Unit")));
    // Acme's part: Acme, Sales, East, JSmith, Laser1; example.com's: itself, People, the reader.
    EXPECT_EQ(tree.objects, 5 + 3);
    EXPECT_THAT(ListEntries("Sales.Acme"), UnorderedElementsAre(Pair("East", "Organizational Unit"),
                                                                Pair("JSmith", "User"), Pair("Laser1", "device")));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LdapDirectoryTest, MultiPartContextAcceptsUsersAndNamesResolveWithoutListing) {
    BindAndStart(AdminSettings());
    // No listing ran before: the names are found on the server.
    LastDirResult = SetNameContext(DirContext, "People.example\\.com");
    ASSERT_TRUE(CreateUserObject("alice", "Liddell"));
    ASSERT_TRUE(CreateUserObject("ALICE2", "Liddell"));

    ServerConnection view = View();
    const auto entries = view.Search("cn=alice,ou=People,dc=example,dc=com", LDAP_SCOPE_BASE).entries;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(Value(entries[0], "sn"), "Liddell");
    EXPECT_EQ(view.CountChildren("ou=People,dc=example,dc=com"), 2u);
    EXPECT_THAT(ListEntries(".People.example\\.com"),
                UnorderedElementsAre(Pair("alice", "User"), Pair("ALICE2", "User")));
    // The account list names users by their DN, every special taken literally.
    EXPECT_EQ(DirectoryNameOf("People.example\\.com", "alice"), "cn=alice,ou=People,dc=example,dc=com");
    EXPECT_EQ(DirectoryNameOf("People.example\\.com", "a,b+c.d"), "cn=a\\2Cb\\2Bc.d,ou=People,dc=example,dc=com");
}

TEST_F(LdapDirectoryTest, CreationRunAndDuplicateStopWithCode44) {
    BindAndStart(AdminSettings());
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    for (const char* name : {"stud0001", "stud0002", "stud0003"})
        ASSERT_TRUE(CreateUserObject(name, "Student"));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_FALSE(CreateUserObject("STUD0002", "Other"));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code 44 - Trying to create userobject with NWDSAddObject"));

    ServerConnection view = View();
    const auto entries = view.Search("ou=East,ou=Sales,o=Acme", LDAP_SCOPE_ONELEVEL).entries;
    ASSERT_EQ(entries.size(), 3u);
    for (const auto& entry : entries)
        EXPECT_EQ(Value(entry, "sn"), "Student") << entry.dn;
}

TEST_F(LdapDirectoryTest, AnonymousSessionIsPublic) {
    LdapSettings settings;
    settings.uri = server.tcpUri;
    BindAndStart(settings);
    EXPECT_EQ(GetIdentityName(DirContext), kPublicIdentity);
    // Anonymous may read but not write.
    LastDirResult = SetNameContext(DirContext, "Sales.Acme");
    EXPECT_FALSE(CreateUserObject("intruder", "X"));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code 8 - Trying to create userobject with NWDSAddObject"));
    EXPECT_EQ(ListEntries("Acme").size(), 1u);
}

TEST_F(LdapDirectoryTest, PasswordBindNeedsProtectedTransportAndPrivateFile) {
    LdapSettings overTcp = ReaderSettings();
    overTcp.uri = server.tcpUri;
    BindAndStart(overTcp);
    EXPECT_EQ(ClientHandle, kClientNotStarted);
    EXPECT_EQ(GetIdentityName(DirContext), "");
    LastDirResult = SetNameContext(DirContext, "Sales.Acme");
    EXPECT_FALSE(CreateUserObject("x", "y"));
    // StartTLS, before the password: the test CA is trusted by nobody here.
    EXPECT_THAT(ui.messages, ElementsAre("Error Code FFFFFD7B - Trying to create userobject with NWDSAddObject"));
    TearDown();

    LdapSettings readable = ReaderSettings();
    WriteFile(server.folder(), "reader.pw", server.readerPassword, 0644);
    BindAndStart(readable);
    EXPECT_EQ(GetIdentityName(DirContext), "");
    EXPECT_EQ(Client().AttachClient(1, 1, 0, &ClientHandle), static_cast<NWCCODE>(rc::kBadPasswordFile));
    TearDown();

    BindAndStart(ReaderSettings());
    EXPECT_NE(ClientHandle, kClientNotStarted);
    EXPECT_EQ(GetIdentityName(DirContext), server.readerDn);
}

TEST_F(LdapDirectoryTest, ServerDownAtStartFailsFastAndRecoversLater) {
    server.Stop();
    const auto started = std::chrono::steady_clock::now();
    BindAndStart(AdminSettings());
    EXPECT_EQ(GetIdentityName(DirContext), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    EXPECT_EQ(ClientHandle, kClientNotStarted);
    NWDSCCODE end = 0;
    EXPECT_TRUE(ListEntries("Acme", &end).empty());
    EXPECT_EQ(end, rc::kServerDown); // never -1, the end of a listing

    ASSERT_EQ(server.Restart(), "");
    EXPECT_EQ(GetIdentityName(DirContext), "cn=admin,o=acme");
    EXPECT_EQ(ListEntries("Acme").size(), 1u);
}

TEST_F(LdapDirectoryTest, KilledServerStopsTheRunAndTheNextOperationReconnects) {
    BindAndStart(AdminSettings());
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    std::atomic<int> created = 0;
    std::atomic<bool> runOver = false;
    std::thread killer([&] {
        while (created < 600 && !runOver)
            std::this_thread::yield();
        server.Kill();
    });
    char name[16];
    for (int i = 1; i <= 2000; ++i) {
        std::snprintf(name, sizeof name, "run%04d", i);
        if (!CreateUserObject(name, "Run"))
            break;
        ++created;
    }
    runOver = true;
    killer.join();
    EXPECT_GE(created, 600);
    EXPECT_LT(created, 2000);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "Error Code FFFFFD7C - Trying to create userobject with NWDSAddObject");

    ASSERT_EQ(server.Restart(), "");
    ServerConnection view = View();
    const std::size_t held = view.CountChildren("ou=East,ou=Sales,o=Acme");
    const auto count = static_cast<std::size_t>(created.load());
    EXPECT_TRUE(held == count || held == count + 1) << held << " held, " << count << " reported";
    // Same client, no new start-up: the next operations reconnect on their own.
    EXPECT_EQ(ListEntries("East.Sales.Acme").size(), held);
    EXPECT_TRUE(CreateUserObject("after", "Restart"));
    EXPECT_EQ(GetIdentityName(DirContext), "cn=admin,o=acme");
}

class LdapHostileNameTest : public LdapDirectoryTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(LdapHostileNameTest, CreatesExactlyOneEntryNamedByTheLiteralText) {
    const std::string name = GetParam();
    BindAndStart(AdminSettings());
    ServerConnection view = View();
    const std::size_t before = CountAll(view);
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    ASSERT_TRUE(CreateUserObject(name, "Hostile")) << (ui.messages.empty() ? "" : ui.messages[0]);

    EXPECT_EQ(CountAll(view), before + 1);
    const auto entries = view.Search("ou=East,ou=Sales,o=Acme", LDAP_SCOPE_ONELEVEL).entries;
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(Value(entries[0], "cn"), name);
    EXPECT_EQ(Value(entries[0], "uid"), name);
    EXPECT_EQ(Value(entries[0], "sn"), "Hostile");
    // The listing hands the name back so that it names the same entry again.
    EXPECT_THAT(ListEntries("East.Sales.Acme"), ElementsAre(Pair(EscapeNamePart(name), "User")));
    EXPECT_FALSE(CreateUserObject(name, "Again"));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code 44 - Trying to create userobject with NWDSAddObject"));
}

INSTANTIATE_TEST_SUITE_P(Names, LdapHostileNameTest,
                         ::testing::Values("x,ou=Admins", "a+sn=b", "#a", " lead", "trail ", "back\\", "a=b", "a.b",
                                           "\xC3\xA9", "say \"hi\"", "<a>;", "stud\\.0001"));

class LdapLargeContainerTest : public LdapDirectoryTest {
protected:
    std::vector<std::string> ExtraLdif() override {
        const std::string path = server.folder() + "/large.ldif";
        std::ofstream ldif(path);
        ldif << "dn: ou=Large,dc=example,dc=com\nobjectClass: organizationalUnit\nou: Large\n\n";
        for (int i = 0; i < 1200; ++i)
            ldif << "dn: cn=member" << i << ",ou=Large,dc=example,dc=com\nobjectClass: inetOrgPerson\ncn: member" << i
                 << "\nsn: Member\n\n";
        return {path};
    }
};

TEST_F(LdapLargeContainerTest, SizeLimitedReaderListsAContainerAboveTheLimitWhole) {
    BindAndStart(ReaderSettings());
    ASSERT_EQ(GetIdentityName(DirContext), server.readerDn);
    NWDSCCODE end = 0;
    const auto entries = ListEntries("Large.example\\.com", &end);
    EXPECT_EQ(end, kListExhausted);
    ASSERT_EQ(entries.size(), 1200u);
    std::set<std::string> names;
    for (const auto& [name, baseClass] : entries) {
        EXPECT_EQ(baseClass, "User");
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 1200u);
    EXPECT_TRUE(names.contains("member0") && names.contains("member1199"));
    // Entries came in many 4096-byte batches, each batch used up before the next.
    EXPECT_GT(ui.pumps, 1200);
}

// ou=Sales and o=Sales side by side below Acme, and the naming contexts dc=example,dc=com and
// o=example.com, whose values read alike.
class LdapCollidingNamesTest : public LdapDirectoryTest {
protected:
    void SetUp() override {
        LdapDirectoryTest::SetUp();
        ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
        ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
        ASSERT_EQ(view.Add("o=Sales,o=Acme", {{"objectClass", {"organization"}}, {"o", {"Sales"}}}), LDAP_SUCCESS);
        ASSERT_EQ(view.Add("ou=West,o=Sales,o=Acme", {{"objectClass", {"organizationalUnit"}}, {"ou", {"West"}}}),
                  LDAP_SUCCESS);
        ASSERT_EQ(server.AddNamingContext("o=example.com", "example-o",
                                          {{"objectClass", {"organization"}}, {"o", {"example.com"}}}),
                  LDAP_SUCCESS);
    }

    // DNs of the entries in any naming context whose cn is `cn`.
    std::vector<std::string> DnsOf(const std::string& cn) {
        std::vector<std::string> dns;
        ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
        for (const char* base : {"o=Acme", "dc=example,dc=com", "o=example.com"})
            for (const auto& entry : view.Search(base, LDAP_SCOPE_SUBTREE, "(cn=" + cn + ")").entries)
                dns.push_back(entry.dn);
        return dns;
    }
};

TEST_F(LdapCollidingNamesTest, SharedValuesAreListedTypedAndATypelessNameForThemNamesNothing) {
    BindAndStart(AdminSettings());
    EXPECT_THAT(ListEntries(kRootName),
                UnorderedElementsAre(Pair("Acme", "Organization"), Pair("dc=example,dc=com", "Organization"),
                                     Pair("o=example\\.com", "Organization")));
    EXPECT_THAT(ListEntries("Acme"),
                UnorderedElementsAre(Pair("ou=Sales", "Organizational Unit"), Pair("o=Sales", "Organization")));
    EXPECT_THAT(ListEntries("o=Sales.Acme"), ElementsAre(Pair("West", "Organizational Unit")));
    EXPECT_EQ(ListEntries("OU=sales.Acme").size(), 3u);
    EXPECT_THAT(ListEntries("dc=example,dc=com"),
                UnorderedElementsAre(Pair("People", "Organizational Unit"), Pair("reader", "User")));
    NWDSCCODE end = 0;
    EXPECT_TRUE(ListEntries("Sales.Acme", &end).empty());
    EXPECT_EQ(end, rc::kAmbiguousName);
    EXPECT_TRUE(ListEntries("example\\.com", &end).empty());
    EXPECT_EQ(end, rc::kAmbiguousName);

    // The window's test takes users to each typed node; here nothing lands anywhere through a
    // name that several containers share.
    for (const char* container : {"Sales.Acme", "example\\.com", "People.example\\.com"}) {
        LastDirResult = SetNameContext(DirContext, container);
        EXPECT_FALSE(CreateUserObject("nowhere", "S")) << container;
    }
    EXPECT_THAT(ui.messages, ElementsAre("Error Code FFFFFD9C - Trying to create userobject with NWDSAddObject",
                                         "Error Code FFFFFD9C - Trying to create userobject with NWDSAddObject",
                                         "Error Code FFFFFD9C - Trying to create userobject with NWDSAddObject"));
    EXPECT_TRUE(DnsOf("nowhere").empty());
}

// A fresh client knows no listing: the names are looked up on the server, and a typeless name
// that one look-up could take for either container is still refused.
TEST_F(LdapCollidingNamesTest, NamesNoListingHasShownResolveExactlyOrNotAtAll) {
    BindAndStart(AdminSettings());
    // The account list's directory name is the DN the add takes, typed parts included.
    LastDirResult = SetNameContext(DirContext, "o=Sales.Acme");
    EXPECT_EQ(DirectoryNameOf("o=Sales.Acme", "first"), "cn=first,o=Sales,o=Acme");
    EXPECT_TRUE(CreateUserObject("first", "S"));
    LastDirResult = SetNameContext(DirContext, "Sales.Acme");
    EXPECT_EQ(DirectoryNameOf("Sales.Acme", "second"), "");
    EXPECT_FALSE(CreateUserObject("second", "S"));
    LastDirResult = SetNameContext(DirContext, "o=example\\.com");
    EXPECT_TRUE(CreateUserObject("third", "S"));
    EXPECT_EQ(DirectoryNameOf("o=example\\.com", "third"), "cn=third,o=example.com");
    EXPECT_THAT(ui.messages, ElementsAre("Error Code FFFFFD9C - Trying to create userobject with NWDSAddObject"));
    EXPECT_THAT(DnsOf("first"), ElementsAre("cn=first,o=Sales,o=Acme"));
    EXPECT_TRUE(DnsOf("second").empty());
    EXPECT_THAT(DnsOf("third"), ElementsAre("cn=third,o=example.com"));
}

// slapd takes a NUL inside a value, and names that grow past 255 bytes when escaped: what the
// 256-byte entry area cannot hold whole comes without a name or a class, and is still counted.
TEST_F(LdapDirectoryTest, NamesThatCannotBeHandedOutAreCountedButNeverBecomeContainers) {
    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
    const std::string withNul("Sales\0x", 7);
    const std::string dots(130, '.');
    const std::string dottedCn(128, '.'); // 256 bytes once escaped
    ASSERT_EQ(view.Add("ou=Sales\\00x,o=Acme", {{"objectClass", {"organizationalUnit"}}, {"ou", {withNul}}}),
              LDAP_SUCCESS);
    ASSERT_EQ(view.Add("ou=" + dots + ",o=Acme", {{"objectClass", {"organizationalUnit"}}, {"ou", {dots}}}),
              LDAP_SUCCESS);
    ASSERT_EQ(view.Add(*ChildDn("o=Acme", "cn", dottedCn),
                       {{"objectClass", {"inetOrgPerson"}}, {"cn", {dottedCn}}, {"sn", {"L"}}}),
              LDAP_SUCCESS);
    BindAndStart(AdminSettings());

    NWDSCCODE end = 0;
    EXPECT_THAT(ListEntries("Acme", &end),
                UnorderedElementsAre(Pair("Sales", "Organizational Unit"), Pair("", ""), Pair("", ""), Pair("", "")));
    EXPECT_EQ(end, kListExhausted);
    const ScannedTree tree = Scan();
    EXPECT_THAT(tree.containers,
                ElementsAre(Pair("Acme", "Organization"), Pair("example\\.com", "Organization"),
                            Pair("Sales.Acme", "Organizational Unit"), Pair("East.Sales.Acme", "Organizational Unit"),
                            Pair("People.example\\.com", "Organizational Unit")));
    EXPECT_EQ(tree.objects, 5 + 3 + 3);
    // The sample's Sales is still the only one of its name.
    LastDirResult = SetNameContext(DirContext, "Sales.Acme");
    EXPECT_TRUE(CreateUserObject("u1", "S"));
    EXPECT_EQ(view.Search("cn=u1,ou=Sales,o=Acme", LDAP_SCOPE_BASE).entries.size(), 1u);
}

// The size limit of every identity but the administrator on the example.com database.
void SetReaderLimits(const SlapdServer& server, const std::string& limits) {
    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.Replace("olcDatabase={2}mdb,cn=config", "olcLimits",
                           {"{0}dn.exact=\"cn=Admin,o=Acme\" size=unlimited time=unlimited", "{1}* " + limits}),
              LDAP_SUCCESS);
}

TEST_F(LdapLargeContainerTest, PagesStayBelowALowerLimitAndAListingCutShortKeepsWhatItGot) {
    SetReaderLimits(server, "size.soft=300 size.hard=300 size.prtotal=unlimited");
    BindAndStart(ReaderSettings());
    NWDSCCODE end = 0;
    auto entries = ListEntries("Large.example\\.com", &end);
    EXPECT_EQ(end, kListExhausted);
    std::set<std::pair<std::string, std::string>> distinct(entries.begin(), entries.end());
    EXPECT_EQ(entries.size(), 1200u);
    EXPECT_EQ(distinct.size(), 1200u);

    // Now the whole paged search may bring 700: what came is handed out, then the server's code.
    SetReaderLimits(server, "size.soft=300 size.hard=300 size.prtotal=700");
    entries = ListEntries("Large.example\\.com", &end);
    EXPECT_EQ(end, LDAP_SIZELIMIT_EXCEEDED);
    distinct = {entries.begin(), entries.end()};
    EXPECT_EQ(entries.size(), 700u);
    EXPECT_EQ(distinct.size(), 700u);
    // The scan counts them and goes on with the next container.
    const ScannedTree tree = Scan();
    EXPECT_EQ(tree.objects, 5 + 3 + 1 + 700);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LdapDirectoryTest, ActiveDirectoryProfileRefusesALoginNameBeforeSendingIt) {
    // The setting wins over what the root DSE shows.
    LdapSettings settings = AdminSettings();
    settings.serverKind = LdapServerKind::ActiveDirectory;
    BindAndStart(settings);
    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    const std::size_t before = CountAll(view);
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    EXPECT_FALSE(CreateUserObject("abcdefghijklmnopqrstu", "Long"));
    EXPECT_FALSE(CreateUserObject("a+b", "Special"));
    EXPECT_EQ(CountAll(view), before);
    // slapd knows nothing of AD's attributes: the add reaches it and fails there, with the usual label.
    EXPECT_FALSE(CreateUserObject("abcdefghijklmnopqrst", "Short"));
    const std::string refused = "Error Code FFFFFD7D - Login name not valid for this directory, user not created";
    EXPECT_THAT(ui.messages,
                ElementsAre(refused, refused, EndsWith(" - Trying to create userobject with NWDSAddObject")));
}

// uidNumbers: the first reservation creates the counter after the highest number in use inside the
// range; two sessions reserving at once never get the same number; a range too full reserves nothing.
TEST_F(LdapDirectoryTest, UidCounterHandsOutEveryNumberOnceAcrossSessions) {
    ServerConnection view = View();
    ASSERT_EQ(view.Add("cn=Old,ou=People,dc=example,dc=com", {{"objectClass", {"inetOrgPerson", "posixAccount"}},
                                                              {"cn", {"Old"}},
                                                              {"sn", {"O"}},
                                                              {"uid", {"old"}},
                                                              {"uidNumber", {"10041"}},
                                                              {"gidNumber", {"100"}},
                                                              {"homeDirectory", {"/home/old"}}}),
              LDAP_SUCCESS);
    const auto reserve = [&](std::uint32_t count, UidRange range, std::vector<std::uint32_t>* firsts, int times) {
        LdapSession session(AdminSettings());
        ASSERT_EQ(session.Initialise() | session.Connect() | session.Bind(), LDAP_SUCCESS);
        for (int i = 0; i < times; ++i) {
            std::uint32_t first = 0;
            const int code = ReserveUidNumbers(session, "dc=example,dc=com", count, range, &first);
            firsts->push_back(code == LDAP_SUCCESS ? first : static_cast<std::uint32_t>(code));
        }
    };
    std::vector<std::uint32_t> mine;
    std::vector<std::uint32_t> theirs;
    std::thread other(reserve, 5, UidRange{}, &theirs, 20);
    reserve(5, UidRange{}, &mine, 20);
    other.join();
    std::set<std::uint32_t> numbers;
    for (const auto* firsts : {&mine, &theirs}) {
        for (const std::uint32_t first : *firsts) {
            for (std::uint32_t k = 0; k < 5; ++k)
                numbers.insert(first + k);
        }
    }
    ASSERT_EQ(numbers.size(), 200u);
    EXPECT_EQ(*numbers.begin(), 10042u);
    EXPECT_EQ(*numbers.rbegin(), 10241u);

    std::vector<std::uint32_t> last;
    reserve(5, UidRange{10000, 10245}, &last, 1);
    reserve(4, UidRange{10000, 10245}, &last, 1);
    // A higher range moves the counter up into it.
    reserve(3, UidRange{20000, 20100}, &last, 1);
    EXPECT_THAT(last, ElementsAre(static_cast<std::uint32_t>(LDAP_SIZELIMIT_EXCEEDED), 10242u, 20000u));
}
