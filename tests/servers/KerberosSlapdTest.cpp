#include "EnvironmentGuard.h"
#include "KerberosTicket.h"
#include "SambaServer.h"
#include "ServerWindowTest.h"
#include "SlapdServer.h"
#include "UserBind.h"
#include "client/ldap/LdapClientFactory.h"
#include "ui/PasswordsDialog.h"

#include <QLabel>
#include <QRadioButton>

#include <gmock/gmock.h>

#include <cstdlib>
#include <memory>
#include <tuple>

// slapd accepting the tickets of a Samba AD realm (the DC without its sample tree): a service
// account of the domain for ldap/127.0.0.1, its keys slapd's keytab; slapd maps the realm's
// Administrator to the tests' administrator of o=Acme. The client reads its server and mechanism
// from an ldap.conf of the test's own, as the program does.
class KerberosSlapdEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        samba = std::make_unique<SambaServer>();
        samba->environment = {{"NO_SAMPLE", "1"}, {"KERBEROS_SERVICE", "ldap/127.0.0.1"}};
        if (!(startError = samba->Start()).empty())
            return;
        slapd = std::make_unique<SlapdServer>();
        slapd->environment = {{"KERBEROS_REALM", samba->realm},
                              {"KRB5_KTNAME", "FILE:" + samba->Value("SERVICE_KEYTAB")},
                              {"KRB5_CONFIG", samba->Value("KRB5_CONFIG_FILE")}};
        if (!(startError = slapd->Start()).empty())
            return;
        // libldap reads its configuration once, on first use in the process.
        const std::string conf = "URI " + slapd->tcpUri + "\nSASL_MECH GSSAPI\nSASL_NOCANON on\n";
        setenv("LDAPCONF", WriteFile(slapd->folder(), "ldap.conf", conf, 0644).c_str(), 1);
        setenv("HOME", "", 1);
    }
    void TearDown() override {
        slapd.reset();
        samba.reset();
    }

    static inline std::unique_ptr<SambaServer> samba;
    static inline std::unique_ptr<SlapdServer> slapd;
    static inline std::string startError;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new KerberosSlapdEnvironment);

using KerberosSlapdTest = ServerWindowTest;

// The Administrator's ticket signs in to slapd (WhoAmI names the mapped entry); a scan and a run of
// users with random passwords over ldap://, where the process trusts no CA: only the session's
// sealed layer can have carried them, as the Passwords dialog says. Each user binds with the
// password of the list.
TEST_F(KerberosSlapdTest, RealmTicketSignsInScansAndSealsThePasswords) {
    const auto& [samba, slapd, startError] = std::tie(KerberosSlapdEnvironment::samba, KerberosSlapdEnvironment::slapd,
                                                      KerberosSlapdEnvironment::startError);
    ASSERT_EQ(startError, "") << "Samba AD DC or slapd did not start";
    TempFolder cache;
    EnvironmentGuard environment;
    environment.Set("KRB5_CONFIG", samba->Value("KRB5_CONFIG_FILE"));
    environment.Set("KRB5CCNAME", "FILE:" + cache.path() + "/ticket");
    ServerConnection admin = ServerConnection::OverSocket(slapd->ldapiUri);
    ASSERT_EQ(admin.Add("ou=Kerberos,o=Acme", {{"objectClass", {"organizationalUnit"}}, {"ou", {"Kerberos"}}}),
              LDAP_SUCCESS);

    ASSERT_TRUE(GetTicket("Administrator@" + samba->realm, samba->adminPassword));
    OpenWindow(MakeLdapClient(LdapSettingsFromEnvironment()));
    EXPECT_EQ(ShownIdentity(), "Logged in as: cn=admin,o=acme");
    Scan();
    ChoosePasswords([](TfPasswords& dialog) {
        EXPECT_EQ(dialog.lbProtection->text(),
                  QStringLiteral("Passwords go over the Kerberos session's sealed layer."));
        dialog.rbRandomPassword->setChecked(true);
    });
    Run({QStringLiteral("Acme"), QStringLiteral("Kerberos")}, QStringLiteral("krb"), QStringLiteral("Student"),
        QStringLiteral("2"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")});
    ASSERT_EQ(form_->CreatedAccounts().size(), 2u);
    for (const CreatedAccount& account : form_->CreatedAccounts()) {
        const std::string dn = "cn=" + account.loginName.toStdString() + ",ou=Kerberos,o=Acme";
        EXPECT_THAT(ValuesOf(admin, dn, "sn"), ::testing::ElementsAre("Student")) << dn;
        EXPECT_EQ(BindAsUser(slapd->ldapiUri, "", dn, std::string(account.password.View())).code, LDAP_SUCCESS) << dn;
    }
}
