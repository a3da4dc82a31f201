#include "DirsrvServer.h"
#include "ListEntries.h"
#include "ServerWindowTest.h"
#include "UserBind.h"
#include "ui/PasswordsDialog.h"

#include <QCheckBox>
#include <QTreeWidget>

#include <gmock/gmock.h>

#include <memory>

using ::testing::ElementsAre;
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

namespace {

ServerConnection Manager() {
    const auto& server = DirsrvEnvironment::server;
    return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->directoryManagerDn,
                                     server->directoryManagerPassword);
}

// One setting of the server's own (cn=config) for the length of a test, put back as it was after.
Undo ServerSetting(const std::string& attribute, const std::string& value) {
    ServerConnection manager = Manager();
    std::vector<std::string> old = ValuesOf(manager, "cn=config", attribute);
    EXPECT_EQ(manager.Replace("cn=config", attribute, {value}), LDAP_SUCCESS) << attribute;
    return Undo(nullptr, [attribute, old](void*) {
        EXPECT_EQ(Manager().Replace("cn=config", attribute, old), LDAP_SUCCESS) << attribute;
    });
}

// 389 Directory Server: the ordinary administrator over ldaps, users as inetOrgPersons with the login
// name as uid below ou=School; the Directory Manager reads the password policy.
class Dirsrv : public WindowServer {
    const DirsrvServer& server() const { return *DirsrvEnvironment::server; }

public:
    Dirsrv() {
        adminIdentity = "Logged in as: uid=admin,ou=people,dc=example,dc=com";
        parentNode = {kTop, kSchool};
        parentDotted = QStringLiteral("School.example\\.com");
        parentDn = "ou=School,dc=example,dc=com";
        contextDn = "dc=example,dc=com";
        // The run's users join a groupOfUniqueNames as uniqueMember DNs.
        memberAttribute = "uniqueMember";
        // 389's 7-bit check plugin takes only ASCII uid values (unless the administrator turned it off):
        // the server refuses the add whole, and nothing is created.
        hostileTaken = {"x,ou=Admins", "a+sn=b", "#a", "trail ", "a=b", "say \"hi\"", "<a>;", "back\\", "v1.2"};
        hostileRefused = {"M\xC3\xBCnchen"};
        hostileRefusal = "Error Code 13 - Trying to create userobject with NWDSAddObject";
    }
    std::string StartError() const override { return DirsrvEnvironment::startError; }
    ServerConnection Admin() const override { return Manager(); }
    Login AdminLogin(bool startTls) const override {
        return {startTls ? server().ldapUri : server().ldapsUri, server().adminDn, server().adminPassword};
    }
    Login PolicyLogin() const override {
        return {server().ldapsUri, server().directoryManagerDn, server().directoryManagerPassword};
    }
    std::string UserUri() const override { return server().ldapsUri; }
    std::string CaFile() const override { return server().caFile; }
    // Whoever is bound, the scan sees the whole tree: the counts equal the Directory Manager's own.
    ScanCounts ExpectedCounts(ServerConnection& manager) const override {
        const ScanCounts expected{
            CountEntries(manager, server().suffix, LDAP_SCOPE_SUBTREE,
                         "(|(objectClass=organizationalUnit)(objectClass=domain)(objectClass=organization))"),
            CountEntries(manager, server().suffix, LDAP_SCOPE_SUBTREE)};
        EXPECT_GT(expected.objects, 2500);
        return expected;
    }
    void ExpectTree(const QTreeWidget& tree) const override {
        for (const QString& name : {QStringLiteral("Class 7b"), QStringLiteral("v1\\.2"), QStringLiteral("Alumni")})
            EXPECT_NE(NodeAt(tree, {kTop, kSchool, name}), nullptr) << name.toStdString();
        EXPECT_EQ(ListEntries("Alumni.School.example\\.com").size(), 2500u);
    }
    std::map<std::string, std::string> NewUserValues(const std::string& login) const override {
        return {{"uid", login}, {"cn", login}};
    }
    int AddLoginHolder(ServerConnection& admin, const std::string& dn, const std::string& login) const override {
        return admin.Add(dn,
                         {{"objectClass", {"inetOrgPerson"}}, {"cn", {"Elsewhere"}}, {"sn", {"E"}}, {"uid", {login}}});
    }
    int AddGroup(ServerConnection& admin, const std::string& dn) const override {
        return admin.Add(dn, {{"objectClass", {"top", "groupOfUniqueNames"}}, {"cn", {"Takers"}}});
    }
    // The server keeps only its own hashes of the passwords.
    void ExpectPasswordKept(ServerConnection& manager, const std::string& dn) const override {
        EXPECT_THAT(ValuesOf(manager, dn, "userPassword"), ElementsAre(StartsWith("{PBKDF2"))) << dn;
    }
    // The ordinary administrator may not read the server's password policy; the passwords go in all the same.
    void ExpectMustChangeBox(TfPasswords& dialog) const override {
        EXPECT_FALSE(dialog.cbMustChange->isEnabled());
        EXPECT_EQ(dialog.cbMustChange->toolTip(), PasswordLimitText(PasswordLimit::PolicyHidden));
    }
    // 389's standard way: with passwordMustChange on, a password an administrator set is expired from the
    // start; the user binds and may do nothing but change it.
    Undo AskForChange() const override { return ServerSetting("passwordMustChange", "on"); }
    void ExpectMustChange(ServerConnection& manager, const std::string& dn, const BindAnswer& bound) const override {
        EXPECT_THAT(ValuesOf(manager, dn, "passwordExpirationTime"), ElementsAre("19700101000000Z"));
        EXPECT_EQ(bound.code, LDAP_SUCCESS) << dn;
        EXPECT_TRUE(bound.mustChange) << dn;
        EXPECT_EQ(bound.searchCode, LDAP_UNWILLING_TO_PERFORM) << dn;
    }
    // passwordMinLength is 8 by default.
    Undo RefuseShortPasswords() const override { return ServerSetting("passwordCheckSyntax", "on"); }
};
const Dirsrv kDirsrv;
INSTANTIATE_TEST_SUITE_P(Dirsrv, ServerWindowSuite, ::testing::Values(&kDirsrv));
INSTANTIATE_TEST_SUITE_P(Dirsrv, ServerRulesWindowTest, ::testing::Values(&kDirsrv));

enum class Identity { DirectoryManager, LimitedReader };

class DirsrvScanTest : public ServerWindowTest, public ::testing::WithParamInterface<Identity> {};

// The Directory Manager and a reader held to 300 entries a search see what the administrator sees.
TEST_P(DirsrvScanTest, CountsEqualTheServersWholeTree) {
    ASSERT_EQ(kDirsrv.StartError(), "") << "389 Directory Server did not start";
    const auto& server = DirsrvEnvironment::server;
    if (GetParam() == Identity::DirectoryManager) {
        OpenWindowAs(server->ldapsUri, server->directoryManagerDn, server->directoryManagerPassword);
        // 389 answers WhoAmI in lower case after a simple bind: shown as it came, after one blank.
        EXPECT_EQ(ShownIdentity(), "Logged in as: cn=directory manager");
    } else {
        OpenWindowAs(server->ldapsUri, kLimitedDn, kLimitedPassword);
        EXPECT_EQ(ShownIdentity(), "Logged in as: uid=limited,ou=people,dc=example,dc=com");
    }
    Scan();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();
    ServerConnection manager = Manager();
    EXPECT_EQ(ShownCounts(), kDirsrv.ExpectedCounts(manager));
    kDirsrv.ExpectTree(*form_->tvNDSView);
}

INSTANTIATE_TEST_SUITE_P(Identities, DirsrvScanTest,
                         ::testing::Values(Identity::DirectoryManager, Identity::LimitedReader));
} // namespace
