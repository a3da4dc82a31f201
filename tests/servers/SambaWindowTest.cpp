#include "EnvironmentGuard.h"
#include "KerberosTicket.h"
#include "ListEntries.h"
#include "SambaServer.h"
#include "ServerWindowTest.h"
#include "UserBind.h"
#include "client/BoundClient.h"
#include "client/ResultCodes.h"
#include "client/ldap/LdapClientFactory.h"
#include "directory/SharedContext.h"

#include <gmock/gmock.h>

#include <QTreeWidget>

#include <memory>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

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

namespace {

ServerConnection AdminConnection() {
    const auto& server = SambaEnvironment::server;
    return ServerConnection::OverTls(server->ldapsUri, server->caFile, server->adminDn, server->adminPassword);
}

// Samba AD: the domain's Administrator over ldaps, users as AD users with the login name as
// sAMAccountName and userPrincipalName below OU=School.
class Samba : public WindowServer {
    const SambaServer& server() const { return *SambaEnvironment::server; }

public:
    Samba() {
        // No WhoAmI on Samba: the identity bound.
        adminIdentity = "Logged in as: CN=Administrator,CN=Users,DC=ad,DC=example,DC=com";
        parentNode = {kTop, kSchool};
        parentDotted = QStringLiteral("School.ad\\.example\\.com");
        parentDn = "OU=School,DC=ad,DC=example,DC=com";
        contextDn = "DC=ad,DC=example,DC=com";
        unitRdn = "OU=";
        userRdn = "CN=";
        userClass = "user";
        loginAttribute = "sAMAccountName";
        // The DN specials and "+" are among what sAMAccountName cannot hold; '@', blanks at the ends and
        // controls are refused before Samba could take them. The domain's complexity rules refuse short
        // passwords as they are.
        hostileTaken = {"#a", "M\xC3\xBCnchen", "v1.2"};
        hostileRefused = {"x,ou=Admins", "a+b", "say \"hi\"", "<a>;", "back\\", "a@b", "trail ", "a\tb"};
        hostileRefusal = kRefused;
    }
    std::string StartError() const override { return SambaEnvironment::startError; }
    ServerConnection Admin() const override { return AdminConnection(); }
    // Over ldap://: StartTLS, which Samba answers without listing it.
    Login AdminLogin(bool startTls) const override {
        return {startTls ? server().ldapUri : server().ldapsUri, server().adminDn, server().adminPassword};
    }
    std::string UserUri() const override { return server().ldapsUri; }
    std::string CaFile() const override { return server().caFile; }
    // Organizational Units are containers (Samba lists "top" first among several classes), and the counts
    // equal what the Administrator finds listing the same containers: the naming contexts, the domain's
    // children and every OU's.
    ScanCounts ExpectedCounts(ServerConnection& admin) const override {
        const auto root = admin.Search("", LDAP_SCOPE_BASE, "(objectClass=*)", {"namingContexts"});
        EXPECT_EQ(root.entries.size(), 1u);
        ScanCounts expected{1, 0};
        for (const std::string& context : root.entries.at(0).attributes.at("namingContexts"))
            expected.objects += CountEntries(admin, context, LDAP_SCOPE_BASE);
        expected.objects += CountEntries(admin, server().baseDn, LDAP_SCOPE_ONELEVEL);
        const auto units =
            admin.Search(server().baseDn, LDAP_SCOPE_SUBTREE, "(objectClass=organizationalUnit)", {"1.1"});
        for (const auto& unit : units.entries) {
            ++expected.containers;
            expected.objects += CountEntries(admin, unit.dn, LDAP_SCOPE_ONELEVEL);
        }
        EXPECT_GT(expected.objects, 2500);
        return expected;
    }
    void ExpectTree(const QTreeWidget& tree) const override {
        for (const QStringList& path : {QStringList{kTop, QStringLiteral("Domain Controllers")},
                                        QStringList{kTop, kSchool, QStringLiteral("Class 7b")},
                                        QStringList{kTop, kSchool, QStringLiteral("v1\\.2")},
                                        QStringList{kTop, kSchool, QStringLiteral("Alumni")}})
            EXPECT_NE(NodeAt(tree, path), nullptr) << path.join(QLatin1Char('/')).toStdString();
        EXPECT_EQ(ListEntries("Alumni.School.ad\\.example\\.com").size(), 2500u);
    }
    // Without a password the account is created disabled, and a password is still required.
    std::map<std::string, std::string> NewUserValues(const std::string& login) const override {
        return {{"sAMAccountName", login},
                {"userPrincipalName", login + "@" + server().dnsDomain},
                {"userAccountControl", "514"}};
    }
    int AddLoginHolder(ServerConnection& admin, const std::string& dn, const std::string& login) const override {
        return admin.Add(dn, {{"objectClass", {"user"}}, {"sAMAccountName", {login}}});
    }
    int AddGroup(ServerConnection& admin, const std::string& dn) const override {
        return admin.Add(dn, {{"objectClass", {"group"}}});
    }
    // unicodePwd and userAccountControl 512 in the add: an enabled account.
    void ExpectPasswordKept(ServerConnection& admin, const std::string& dn) const override {
        EXPECT_THAT(ValuesOf(admin, dn, "userAccountControl"), ElementsAre("512")) << dn;
    }
    // pwdLastSet 0: the password must be changed before the first logon, which a bind reports as AD does,
    // "data 773".
    void ExpectMustChange(ServerConnection& admin, const std::string& dn, const BindAnswer& bound) const override {
        EXPECT_THAT(ValuesOf(admin, dn, "pwdLastSet"), ElementsAre("0"));
        EXPECT_THAT(ValuesOf(admin, dn, "userAccountControl"), ElementsAre("512"));
        EXPECT_EQ(bound.code, LDAP_INVALID_CREDENTIALS);
        EXPECT_THAT(bound.text, HasSubstr("data 773"));
    }
};
const Samba kSamba;
INSTANTIATE_TEST_SUITE_P(Samba, ServerWindowSuite, ::testing::Values(&kSamba));
INSTANTIATE_TEST_SUITE_P(Samba, ServerRulesWindowTest, ::testing::Values(&kSamba));

class SambaWindowTest : public ServerWindowSuite {};
INSTANTIATE_TEST_SUITE_P(Samba, SambaWindowTest, ::testing::Values(&kSamba));

// 20 characters are the most sAMAccountName takes; the 21st would make Samba invent a name.
TEST_P(SambaWindowTest, LoginNameOfTwentyOneCharactersNeverReachesTheServer) {
    const std::string container = OwnContainer("Lengths");
    const QStringList path = Path(QStringLiteral("Lengths"));
    Run(path, QStringLiteral("abcdefghijklmnop"), QStringLiteral("Long"), QStringLiteral("1"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("1 users succesfully created.")});
    messages_.clear();
    Run(path, QStringLiteral("abcdefghijklmnopq"), QStringLiteral("Long"), QStringLiteral("1"));
    EXPECT_EQ(messages_, (QStringList{QString::fromStdString(kRefused),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "0 users succesfully created.")}));

    ServerConnection admin = Server().Admin();
    const auto created = admin.Search(container, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"sAMAccountName"});
    ASSERT_EQ(created.entries.size(), 1u);
    EXPECT_THAT(created.entries[0].attributes.at("sAMAccountName"), ElementsAre("abcdefghijklmnop0001"));
}

// Kerberos: the administrator's own ticket, no password file. The status bar names the principal's
// entry (Samba has no WhoAmI), and the sealed layer carries new users' passwords over ldap:// without
// TLS. Without a ticket the bind fails with the code that says to run kinit.
TEST_P(SambaWindowTest, KerberosTicketSignsInAndSealsThePasswords) {
    const std::string container = OwnContainer("Kerberos");
    const auto& server = SambaEnvironment::server;
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
    Run(Path(QStringLiteral("Kerberos")), QStringLiteral("krb"), QStringLiteral("Student"), QStringLiteral("2"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")});
    for (const CreatedAccount& account : form_->CreatedAccounts()) {
        const std::string dn = "CN=" + account.loginName.toStdString() + "," + container;
        EXPECT_EQ(BindAsUser(server->ldapsUri, server->caFile, dn, std::string(account.password.View())).code,
                  LDAP_SUCCESS);
    }
}
} // namespace
