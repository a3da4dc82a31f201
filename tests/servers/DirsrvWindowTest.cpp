#include "DirsrvServer.h"
#include "ListEntries.h"
#include "ServerWindowTest.h"
#include "UserBind.h"
#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "directory/CreateUserObject.h"
#include "directory/SharedContext.h"
#include "ui/PasswordsDialog.h"

#include <QCheckBox>
#include <QRadioButton>

#include <gmock/gmock.h>

#include <algorithm>
#include <memory>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;
using ::testing::StartsWith;

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

// One setting of the server's own (cn=config) for the length of a test, put back as it was after.
class ServerSetting {
public:
    ServerSetting(const std::string& attribute, const std::string& value) : attribute_(attribute) {
        ServerConnection manager = Manager();
        old_ = ValuesOf(manager, "cn=config", attribute);
        EXPECT_EQ(manager.Replace("cn=config", attribute, {value}), LDAP_SUCCESS) << attribute;
    }
    ~ServerSetting() { EXPECT_EQ(Manager().Replace("cn=config", attribute_, old_), LDAP_SUCCESS) << attribute_; }

private:
    static ServerConnection Manager() {
        const auto& server = DirsrvEnvironment::server;
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->directoryManagerDn,
                                         server->directoryManagerPassword);
    }
    std::string attribute_;
    std::vector<std::string> old_;
};

// The ordinary administrator may not read the server's password policy; the passwords go in all the same
// and the server keeps only its own hashes of them.
TEST_F(DirsrvWindowTest, EveryUserBindsWithThePasswordOfTheListAndTheServerKeepsAHash) {
    const std::string container = OwnContainer("Passwords");
    // Over ldap://: StartTLS before the bind.
    OpenWindowAs(server->ldapUri, server->adminDn, server->adminPassword);
    Scan();
    ChoosePasswords([](TfPasswords& dialog) {
        dialog.rbRandomPassword->setChecked(true);
        EXPECT_FALSE(dialog.cbMustChange->isEnabled());
        EXPECT_EQ(dialog.cbMustChange->toolTip(), PasswordLimitText(PasswordLimit::PolicyHidden));
    });
    const QStringList path{kTop, kSchool, QStringLiteral("Passwords")};
    Run(path, QStringLiteral("rnd"), QStringLiteral("Student"), QStringLiteral("3"));
    std::vector<CreatedAccount> accounts = form_->CreatedAccounts();
    ASSERT_EQ(kAwkwardPassword.size(), 64);
    ChooseOnePassword(kAwkwardPassword);
    Run(path, QStringLiteral("one"), QStringLiteral("Student"), QStringLiteral("1"));
    accounts.push_back(form_->CreatedAccounts().at(0));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("3 users succesfully created."),
                                      QStringLiteral("1 users succesfully created.")}));

    ServerConnection manager = Manager();
    ASSERT_EQ(CountEntries(manager, container, LDAP_SCOPE_ONELEVEL), 4);
    for (const CreatedAccount& account : accounts) {
        const std::string dn = "cn=" + account.loginName.toStdString() + "," + container;
        const std::string password = account.password.toStdString();
        EXPECT_THAT(ValuesOf(manager, dn, "userPassword"), ElementsAre(StartsWith("{PBKDF2"))) << dn;
        const BindAnswer bound = BindAsUser(server->ldapsUri, server->caFile, dn, password);
        EXPECT_EQ(bound.code, LDAP_SUCCESS) << dn;
        EXPECT_EQ(bound.searchCode, LDAP_SUCCESS) << dn;
        EXPECT_EQ(BindAsUser(server->ldapsUri, server->caFile, dn, password + "x").code, LDAP_INVALID_CREDENTIALS);
    }
}

// 389's standard way: with passwordMustChange on, a password an administrator set is expired from the
// start; the user binds and may do nothing but change it.
TEST_F(DirsrvWindowTest, PolicyThatAsksMakesNewUsersChangeThePasswordFirst) {
    const std::string container = OwnContainer("MustChange");
    const ServerSetting mustChange("passwordMustChange", "on");
    OpenWindowAs(server->ldapsUri, server->directoryManagerDn, server->directoryManagerPassword);
    Scan();
    ChooseOnePassword(QStringLiteral("Secret-389"), true);
    EXPECT_TRUE(form_->Passwords().mustChange); // the box was enabled: the policy is readable and on
    Run({kTop, kSchool, QStringLiteral("MustChange")}, QStringLiteral("new"), QStringLiteral("Student"),
        QStringLiteral("2"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")});

    ServerConnection manager = Manager();
    for (const std::string name : {"new0001", "new0002"}) {
        const std::string dn = "cn=" + name + "," + container;
        EXPECT_THAT(ValuesOf(manager, dn, "passwordExpirationTime"), ElementsAre("19700101000000Z"));
        const BindAnswer bound = BindAsUser(server->ldapsUri, server->caFile, dn, "Secret-389");
        EXPECT_EQ(bound.code, LDAP_SUCCESS) << dn;
        EXPECT_TRUE(bound.mustChange) << dn;
        EXPECT_EQ(bound.searchCode, LDAP_UNWILLING_TO_PERFORM) << dn;
    }
}

TEST_F(DirsrvWindowTest, PasswordThePolicyRefusesStopsTheRunAndNothingOfTheUserExists) {
    const std::string container = OwnContainer("Refused");
    const ServerSetting syntax("passwordCheckSyntax", "on"); // and passwordMinLength 8, the default
    OpenWindowAsAdmin();
    Scan();
    ChooseOnePassword(QStringLiteral("Ab1"));
    Run({kTop, kSchool, QStringLiteral("Refused")}, QStringLiteral("short"), QStringLiteral("Student"),
        QStringLiteral("3"));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code 13 - Trying to create userobject with NWDSAddObject"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "0 users succesfully created.")}));
    ServerConnection manager = Manager();
    EXPECT_EQ(CountEntries(manager, container, LDAP_SCOPE_ONELEVEL), 0);
    EXPECT_TRUE(form_->CreatedAccounts().empty());
}
