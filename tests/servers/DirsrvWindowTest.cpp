#include "BoundClient.h"
#include "CreateUserObject.h"
#include "DirsrvServer.h"
#include "DottedName.h"
#include "ListEntries.h"
#include "ServerWindowTest.h"
#include "SharedContext.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <memory>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;

namespace {
constexpr const char* kLimitedDn = "uid=limited,ou=People,dc=example,dc=com";
constexpr const char* kLimitedPassword = "Limited-Secret-389";
const QString kTop = QStringLiteral("example\\.com");
const QString kSchool = QStringLiteral("School");
} // namespace

// One 389 Directory Server for the executable: the sample tree with ou=School holding "Class 7b",
// "v1.2" and the 2,500 entries of Alumni, the ordinary administrator held to the 2,000-entry size
// limit, and a reader of the test's own held to 300 entries a search.
class DirsrvEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        server = std::make_unique<DirsrvServer>();
        startError = server->Start();
        if (!startError.empty())
            return;
        TrustTestCa(server->caFile);
        ServerConnection manager = ServerConnection::OverTls(
            server->ldapsUri, server->caFile, server->directoryManagerDn, server->directoryManagerPassword);
        const int added = manager.Add(kLimitedDn, {{"objectClass", {"inetOrgPerson"}},
                                                   {"uid", {"limited"}},
                                                   {"cn", {"limited"}},
                                                   {"sn", {"Limited"}},
                                                   {"userPassword", {kLimitedPassword}},
                                                   {"nsSizeLimit", {"300"}}});
        const int allowed = manager.AddValues(
            server->suffix, "aci",
            {std::string("(targetattr=\"*\")(version 3.0; acl \"Limited reader\"; allow (read,search,compare) "
                         "userdn=\"ldap:///") +
             kLimitedDn + "\";)"});
        if (added != LDAP_SUCCESS || allowed != LDAP_SUCCESS)
            startError = "the limited reader could not be set up";
    }
    void TearDown() override { server.reset(); }

    static inline std::unique_ptr<DirsrvServer> server;
    static inline std::string startError;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new DirsrvEnvironment);

class DirsrvWindowTest : public ServerWindowTest {
protected:
    void SetUp() override { ASSERT_EQ(startError, "") << "389 Directory Server did not start"; }

    static ServerConnection Manager() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->directoryManagerDn,
                                         server->directoryManagerPassword);
    }
    void OpenWindowAsAdmin() { OpenWindowAs(server->ldapsUri, server->adminDn, server->adminPassword); }

    // An OU of the test's own below ou=School, made through the server's own view.
    static std::string OwnContainer(const std::string& name) {
        ServerConnection manager = Manager();
        const std::string dn = "ou=" + name + ",ou=School," + server->suffix;
        EXPECT_EQ(manager.Add(dn, {{"objectClass", {"top", "organizationalUnit"}}, {"ou", {name}}}), LDAP_SUCCESS);
        return dn;
    }

    static inline std::unique_ptr<DirsrvServer>& server = DirsrvEnvironment::server;
    static inline std::string& startError = DirsrvEnvironment::startError;
};

enum class Identity { DirectoryManager, Administrator, LimitedReader };

class DirsrvScanTest : public DirsrvWindowTest, public ::testing::WithParamInterface<Identity> {};

// Whoever is bound, the scan sees the whole tree: the counts equal the Directory Manager's own.
TEST_P(DirsrvScanTest, CountsEqualTheServersWholeTree) {
    switch (GetParam()) {
    case Identity::DirectoryManager:
        OpenWindowAs(server->ldapsUri, server->directoryManagerDn, server->directoryManagerPassword);
        // 389 answers WhoAmI in lower case after a simple bind: shown as it came, after one blank.
        EXPECT_EQ(ShownIdentity(), "Logged in as: cn=directory manager");
        break;
    case Identity::Administrator:
        OpenWindowAsAdmin();
        EXPECT_EQ(ShownIdentity(), "Logged in as: uid=admin,ou=people,dc=example,dc=com");
        break;
    case Identity::LimitedReader:
        OpenWindowAs(server->ldapsUri, kLimitedDn, kLimitedPassword);
        EXPECT_EQ(ShownIdentity(), "Logged in as: uid=limited,ou=people,dc=example,dc=com");
        break;
    }
    Scan();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();

    ServerConnection manager = Manager();
    const ScanCounts expected{
        CountEntries(manager, server->suffix, LDAP_SCOPE_SUBTREE,
                     "(|(objectClass=organizationalUnit)(objectClass=domain)(objectClass=organization))"),
        CountEntries(manager, server->suffix, LDAP_SCOPE_SUBTREE)};
    EXPECT_EQ(ShownCounts(), expected);
    EXPECT_GT(expected.objects, 2500);
    for (const QString& name : {QStringLiteral("Class 7b"), QStringLiteral("v1\\.2"), QStringLiteral("Alumni")})
        EXPECT_NE(Node({kTop, kSchool, name}), nullptr) << name.toStdString();
    EXPECT_EQ(ListEntries("Alumni.School.example\\.com").size(), 2500u);
}

INSTANTIATE_TEST_SUITE_P(Identities, DirsrvScanTest,
                         ::testing::Values(Identity::DirectoryManager, Identity::Administrator,
                                           Identity::LimitedReader));

TEST_F(DirsrvWindowTest, CreatedUsersAreInetOrgPersonsWithTheLoginNameAsUid) {
    const std::string container = OwnContainer("Creation");
    OpenWindowAsAdmin();
    Scan();
    Run({kTop, kSchool, QStringLiteral("Creation")}, QStringLiteral("stud"), QStringLiteral("Student"),
        QStringLiteral("3"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});

    ServerConnection manager = Manager();
    EXPECT_EQ(CountEntries(manager, container, LDAP_SCOPE_ONELEVEL), 3);
    for (const std::string name : {"stud0001", "stud0002", "stud0003"}) {
        const std::string dn = "cn=" + name + "," + container;
        EXPECT_THAT(ValuesOf(manager, dn, "objectClass"), Contains("inetOrgPerson")) << dn;
        EXPECT_THAT(ValuesOf(manager, dn, "uid"), ElementsAre(name));
        EXPECT_THAT(ValuesOf(manager, dn, "cn"), ElementsAre(name));
        EXPECT_THAT(ValuesOf(manager, dn, "sn"), ElementsAre("Student"));
    }
}

TEST_F(DirsrvWindowTest, HostileNamesBecomeOneLiteralEntryEach) {
    const std::string container = OwnContainer("Hostile");
    OpenWindowAsAdmin();
    Scan();
    ASSERT_NE(Node({kTop, kSchool, QStringLiteral("Hostile")}), nullptr);
    LastDirResult = SetNameContext(DirContext, "Hostile.School.example\\.com");
    const std::vector<std::string> names{"x,ou=Admins", "a+sn=b", "#a",     "trail ", "a=b",
                                         "say \"hi\"",  "<a>;",   "back\\", "v1.2"};
    for (const std::string& name : names)
        EXPECT_TRUE(CreateUserObject(name, "Hostile")) << name;
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();
    // 389's 7-bit check plugin takes only ASCII uid values (unless the administrator turned it off):
    // the server refuses the add whole, and nothing is created.
    EXPECT_FALSE(CreateUserObject("M\xC3\xBCnchen", "Hostile"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("Error Code 13 - Trying to create userobject with NWDSAddObject")});

    ServerConnection manager = Manager();
    const auto created = manager.Search(container, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"cn", "uid"});
    ASSERT_EQ(created.entries.size(), names.size());
    std::vector<std::pair<std::string, std::string>> stored;
    for (const auto& entry : created.entries)
        stored.emplace_back(entry.attributes.at("cn").at(0), entry.attributes.at("uid").at(0));
    const auto listed = ListEntries("Hostile.School.example\\.com");
    for (const std::string& name : names) {
        EXPECT_THAT(stored, Contains(Pair(name, name)));
        EXPECT_THAT(listed, Contains(Pair(EscapeNamePart(name), "User")));
    }
}
