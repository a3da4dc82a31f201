#include "EnvironmentGuard.h"
#include "KerberosTicket.h"
#include "ListEntries.h"
#include "SambaServer.h"
#include "ServerWindowTest.h"
#include "UserBind.h"
#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/ldap/LdapClientFactory.h"
#include "client/ldap/names/LdapDn.h"
#include "directory/CreateUserObject.h"
#include "directory/SharedContext.h"

#include <gmock/gmock.h>

#include <memory>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Pair;

namespace {
const QString kTop = QStringLiteral("ad\\.example\\.com");
const QString kSchool = QStringLiteral("School");
const std::string kRefused = "Error Code FFFFFD7D - Login name not valid for this directory, user not created";
} // namespace

// One Samba AD domain controller for the executable, with OU=School holding "Class 7b", "v1.2" and
// the 2,500 users of Alumni; the window binds as the domain's Administrator.
class SambaEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        server = std::make_unique<SambaServer>();
        startError = server->Start();
        if (startError.empty()) {
            TrustTestCa(server->caFile);
            // The client asks for ldap/<the address in the URI>, as the DC answers for it.
            setenv("LDAPSASL_NOCANON", "on", 1);
        }
    }
    void TearDown() override { server.reset(); }

    static inline std::unique_ptr<SambaServer> server;
    static inline std::string startError;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SambaEnvironment);

class SambaWindowTest : public ServerWindowTest {
protected:
    void SetUp() override { ASSERT_EQ(startError, "") << "Samba AD DC did not start"; }

    static ServerConnection Admin() {
        return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
    }
    void OpenWindowAsAdmin() { OpenWindowAs(server->ldapsUri, server->adminDn, server->adminPassword); }

    // An OU of the test's own below OU=School, made through the server's own view; the window then scans.
    std::string OwnContainer(const std::string& name) {
        ServerConnection admin = Admin();
        const std::string dn = "OU=" + name + ",OU=School," + server->baseDn;
        EXPECT_EQ(admin.Add(dn, {{"objectClass", {"organizationalUnit"}}}), LDAP_SUCCESS);
        OpenWindowAsAdmin();
        Scan();
        EXPECT_NE(Node({kTop, kSchool, QString::fromStdString(name)}), nullptr);
        return dn;
    }

    static inline std::unique_ptr<SambaServer>& server = SambaEnvironment::server;
    static inline std::string& startError = SambaEnvironment::startError;
};

// Organizational Units are containers (Samba lists "top" first among several classes), and the counts
// equal what the Administrator finds listing the same containers: the naming contexts, the domain's
// children and every OU's.
TEST_F(SambaWindowTest, ScanShowsEveryOuWithTheServersCounts) {
    OpenWindowAsAdmin();
    // No WhoAmI on Samba: the identity bound.
    EXPECT_EQ(ShownIdentity(), "Logged in as: CN=Administrator,CN=Users,DC=ad,DC=example,DC=com");
    Scan();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();
    for (const QStringList& path :
         {QStringList{kTop, QStringLiteral("Domain Controllers")},
          QStringList{kTop, kSchool, QStringLiteral("Class 7b")}, QStringList{kTop, kSchool, QStringLiteral("v1\\.2")},
          QStringList{kTop, kSchool, QStringLiteral("Alumni")}})
        EXPECT_NE(Node(path), nullptr) << path.join(QLatin1Char('/')).toStdString();

    ServerConnection admin = Admin();
    const auto root = admin.Search("", LDAP_SCOPE_BASE, "(objectClass=*)", {"namingContexts"});
    ASSERT_EQ(root.entries.size(), 1u);
    ScanCounts expected{1, 0};
    for (const std::string& context : root.entries[0].attributes.at("namingContexts"))
        expected.objects += CountEntries(admin, context, LDAP_SCOPE_BASE);
    expected.objects += CountEntries(admin, server->baseDn, LDAP_SCOPE_ONELEVEL);
    const auto units = admin.Search(server->baseDn, LDAP_SCOPE_SUBTREE, "(objectClass=organizationalUnit)", {"1.1"});
    for (const auto& unit : units.entries) {
        ++expected.containers;
        expected.objects += CountEntries(admin, unit.dn, LDAP_SCOPE_ONELEVEL);
    }
    EXPECT_EQ(ShownCounts(), expected);
    EXPECT_GT(expected.objects, 2500);
    EXPECT_EQ(ListEntries("Alumni.School.ad\\.example\\.com").size(), 2500u);
}

TEST_F(SambaWindowTest, CreatedUsersCarryTheLoginNameAsSamAccountNameAndPrincipalName) {
    const std::string container = OwnContainer("Creation");
    Run({kTop, kSchool, QStringLiteral("Creation")}, QStringLiteral("stud"), QStringLiteral("Student"),
        QStringLiteral("2"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")});

    ServerConnection admin = Admin();
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 2);
    for (const std::string name : {"stud0001", "stud0002"}) {
        const std::string dn = "CN=" + name + "," + container;
        EXPECT_THAT(ValuesOf(admin, dn, "objectClass"), Contains("user")) << dn;
        EXPECT_THAT(ValuesOf(admin, dn, "sAMAccountName"), ElementsAre(name));
        EXPECT_THAT(ValuesOf(admin, dn, "userPrincipalName"), ElementsAre(name + "@" + server->dnsDomain));
        EXPECT_THAT(ValuesOf(admin, dn, "sn"), ElementsAre("Student"));
        // Without a password the account is created disabled, and a password is still required.
        EXPECT_THAT(ValuesOf(admin, dn, "userAccountControl"), ElementsAre("514"));
    }
}

// A sAMAccountName held in another OU stops the run at that user with its own code; the users
// before it are in the AD group chosen in Account details, as member DNs.
TEST_F(SambaWindowTest, TakenSamAccountNameStopsTheRunAndTheUsersBeforeItJoinTheGroup) {
    const std::string container = OwnContainer("Taken");
    ServerConnection admin = Admin();
    ASSERT_EQ(admin.Add("CN=Elsewhere,OU=Class 7b,OU=School," + server->baseDn,
                        {{"objectClass", {"user"}}, {"sAMAccountName", {"TKN0003"}}}),
              LDAP_SUCCESS);
    const std::string group = "CN=Takers," + container;
    ASSERT_EQ(admin.Add(group, {{"objectClass", {"group"}}}), LDAP_SUCCESS);
    ChooseGroup(group);
    Run({kTop, kSchool, QStringLiteral("Taken")}, QStringLiteral("tkn"), QStringLiteral("Taker"), QStringLiteral("4"));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code FFFFFD64 - Login name already used in the directory, "
                                                     "user not created"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "2 users succesfully created.")}));
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 3); // the group and two users
    std::vector<std::string> members;
    for (const std::string& member : ValuesOf(admin, group, "member"))
        members.push_back(FoldCase(member));
    EXPECT_THAT(members, ::testing::UnorderedElementsAre(FoldCase("CN=tkn0001," + container),
                                                         FoldCase("CN=tkn0002," + container)));
}

// 20 characters are the most sAMAccountName takes; the 21st would make Samba invent a name.
TEST_F(SambaWindowTest, LoginNameOfTwentyOneCharactersNeverReachesTheServer) {
    const std::string container = OwnContainer("Lengths");
    const QStringList path{kTop, kSchool, QStringLiteral("Lengths")};
    Run(path, QStringLiteral("abcdefghijklmnop"), QStringLiteral("Long"), QStringLiteral("1"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("1 users succesfully created.")});
    messages_.clear();
    Run(path, QStringLiteral("abcdefghijklmnopq"), QStringLiteral("Long"), QStringLiteral("1"));
    EXPECT_EQ(messages_, (QStringList{QString::fromStdString(kRefused),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "0 users succesfully created.")}));

    ServerConnection admin = Admin();
    const auto created = admin.Search(container, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"sAMAccountName"});
    ASSERT_EQ(created.entries.size(), 1u);
    EXPECT_THAT(created.entries[0].attributes.at("sAMAccountName"), ElementsAre("abcdefghijklmnop0001"));
}

TEST_F(SambaWindowTest, HostileNamesAreCreatedLiterallyOrRefusedWhole) {
    const std::string container = OwnContainer("Hostile");
    LastDirResult = SetNameContext(DirContext, "Hostile.School.ad\\.example\\.com");
    const std::vector<std::string> taken{"#a", "M\xC3\xBCnchen", "v1.2"};
    for (const std::string& name : taken)
        EXPECT_TRUE(CreateUserObject(name, "Hostile")) << name;
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();
    // The DN specials and "+" are among what sAMAccountName cannot hold; '@', blanks at the ends and
    // controls are refused before Samba could take them.
    const std::vector<std::string> refused{"x,ou=Admins", "a+b", "say \"hi\"", "<a>;",
                                           "back\\",      "a@b", "trail ",     "a\tb"};
    for (const std::string& name : refused)
        EXPECT_FALSE(CreateUserObject(name, "Hostile")) << name;
    EXPECT_EQ(messages_.size(), static_cast<qsizetype>(refused.size()));
    for (const QString& message : messages_)
        EXPECT_EQ(message.toStdString(), kRefused);

    ServerConnection admin = Admin();
    const auto created = admin.Search(container, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"cn", "sAMAccountName"});
    ASSERT_EQ(created.entries.size(), taken.size());
    std::vector<std::pair<std::string, std::string>> stored;
    for (const auto& entry : created.entries)
        stored.emplace_back(entry.attributes.at("cn").at(0), entry.attributes.at("sAMAccountName").at(0));
    const auto listed = ListEntries("Hostile.School.ad\\.example\\.com");
    for (const std::string& name : taken) {
        EXPECT_THAT(stored, Contains(Pair(name, name)));
        EXPECT_THAT(listed, Contains(Pair(EscapeNamePart(name), "User")));
    }
}

// unicodePwd and userAccountControl 512 in the add: an enabled account whose user binds with the
// password of the list.
TEST_F(SambaWindowTest, EveryUserIsEnabledAndBindsWithThePasswordOfTheList) {
    const std::string container = OwnContainer("Passwords");
    // Over ldap://: StartTLS, which Samba answers without listing it.
    OpenWindowAs(server->ldapUri, server->adminDn, server->adminPassword);
    Scan();
    const QStringList path{kTop, kSchool, QStringLiteral("Passwords")};
    ChooseRandomPasswords(12);
    Run(path, QStringLiteral("rnd"), QStringLiteral("Student"), QStringLiteral("3"));
    std::vector<CreatedAccount> accounts = form_->CreatedAccounts();
    ChooseOnePassword(kAwkwardPassword);
    Run(path, QStringLiteral("one"), QStringLiteral("Student"), QStringLiteral("1"));
    accounts.push_back(form_->CreatedAccounts().at(0));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("3 users succesfully created."),
                                      QStringLiteral("1 users succesfully created.")}));

    ServerConnection admin = Admin();
    ASSERT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 4);
    for (const CreatedAccount& account : accounts) {
        const std::string dn = "CN=" + account.loginName.toStdString() + "," + container;
        const std::string password(account.password.View());
        EXPECT_THAT(ValuesOf(admin, dn, "userAccountControl"), ElementsAre("512")) << dn;
        const BindAnswer bound = BindAsUser(server->ldapsUri, server->caFile, dn, password);
        EXPECT_EQ(bound.code, LDAP_SUCCESS) << dn << " " << bound.text;
        EXPECT_EQ(bound.searchCode, LDAP_SUCCESS) << dn;
        EXPECT_EQ(BindAsUser(server->ldapsUri, server->caFile, dn, password + "x").code, LDAP_INVALID_CREDENTIALS);
    }
}

// pwdLastSet 0: the password must be changed before the first logon, which a bind reports as AD does,
// "data 773".
TEST_F(SambaWindowTest, MustChangeMakesTheFirstBindAskForANewPassword) {
    const std::string container = OwnContainer("MustChange");
    ChooseOnePassword(QStringLiteral("Secret-AD-1"), true);
    EXPECT_TRUE(form_->Passwords().mustChange); // the box was enabled
    Run({kTop, kSchool, QStringLiteral("MustChange")}, QStringLiteral("new"), QStringLiteral("Student"),
        QStringLiteral("1"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("1 users succesfully created.")});

    ServerConnection admin = Admin();
    const std::string dn = "CN=new0001," + container;
    EXPECT_THAT(ValuesOf(admin, dn, "pwdLastSet"), ElementsAre("0"));
    EXPECT_THAT(ValuesOf(admin, dn, "userAccountControl"), ElementsAre("512"));
    const BindAnswer bound = BindAsUser(server->ldapsUri, server->caFile, dn, "Secret-AD-1");
    EXPECT_EQ(bound.code, LDAP_INVALID_CREDENTIALS);
    EXPECT_THAT(bound.text, HasSubstr("data 773"));
}

// The domain's complexity rules refuse the add whole: no disabled account is left behind.
TEST_F(SambaWindowTest, PasswordTheDomainRefusesStopsTheRunAndNothingOfTheUserExists) {
    const std::string container = OwnContainer("Refused");
    ChooseOnePassword(QStringLiteral("abc"));
    Run({kTop, kSchool, QStringLiteral("Refused")}, QStringLiteral("weak"), QStringLiteral("Student"),
        QStringLiteral("3"));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code 13 - Trying to create userobject with NWDSAddObject"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "0 users succesfully created.")}));
    ServerConnection admin = Admin();
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 0);
    EXPECT_TRUE(form_->CreatedAccounts().empty());
}

// Kerberos: the administrator's own ticket, no password file. The status bar names the principal's
// entry (Samba has no WhoAmI), and the sealed layer carries new users' passwords over ldap:// without
// TLS. Without a ticket the bind fails with the code that says to run kinit.
TEST_F(SambaWindowTest, KerberosTicketSignsInAndSealsThePasswords) {
    const std::string container = OwnContainer("Kerberos");
    TempFolder cache;
    EnvironmentGuard environment;
    environment.Set("KRB5_CONFIG", server->Value("KRB5_CONFIG_FILE"));
    environment.Set("KRB5CCNAME", "FILE:" + cache.path() + "/ticket");
    LdapSettings kerberos;
    kerberos.uri = server->ldapUri;
    kerberos.saslMech = "GSSAPI";
    OpenWindow(MakeLdapClient(kerberos));
    EXPECT_EQ(Client().AttachClient(1, 1, 0, &ClientHandle), static_cast<NWCCODE>(rc::kNoKerberosTicket));

    ASSERT_TRUE(GetTicket("Administrator@" + server->Value("REALM"), server->adminPassword));
    OpenWindow(MakeLdapClient(kerberos));
    EXPECT_EQ(ShownIdentity(), "Logged in as: " + server->adminDn);
    Scan();
    ChooseRandomPasswords(12);
    Run({kTop, kSchool, QStringLiteral("Kerberos")}, QStringLiteral("krb"), QStringLiteral("Student"),
        QStringLiteral("2"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")});
    for (const CreatedAccount& account : form_->CreatedAccounts()) {
        const std::string dn = "CN=" + account.loginName.toStdString() + "," + container;
        EXPECT_EQ(BindAsUser(server->ldapsUri, server->caFile, dn, std::string(account.password.View())).code,
                  LDAP_SUCCESS);
    }
}
