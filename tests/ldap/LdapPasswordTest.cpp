#include "LdapDirectoryFixture.h"
#include "UserBind.h"
#include "client/BoundClient.h"
#include "client/ResultCodes.h"
#include "directory/CreateUserObject.h"
#include "directory/DirectoryQueries.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
constexpr const char* kEast = "ou=East,ou=Sales,o=Acme";

std::string UserDnIn(const std::string& name) {
    return "cn=" + name + "," + kEast;
}

std::vector<std::string> Values(ServerConnection& view, const std::string& dn, const std::string& attribute) {
    const auto entries = view.Search(dn, LDAP_SCOPE_BASE, "(objectClass=*)", {attribute}).entries;
    if (entries.size() != 1 || !entries[0].attributes.contains(attribute))
        return {};
    return entries[0].attributes.at(attribute);
}

std::string Added(const std::string& name) {
    return "Error Code " + name + " - Trying to create userobject with NWDSAddObject";
}

// libldap reads the user's ldaprc once, on first use: every test here has one that turns the check
// of the server's certificate off, as an administrator's might.
const TempFolder kHome;
const bool kChecksOff = !WriteFile(kHome.path(), "ldaprc", "TLS_REQCERT never\n", 0600).empty() &&
                        setenv("HOME", kHome.path().c_str(), 1) == 0;
} // namespace

class LdapPasswordTest : public LdapDirectoryTest {
protected:
    // Every way a created user can bind: the local socket and TLS.
    BindAnswer BindOverSocket(const std::string& dn, const std::string& password) const {
        return BindAsUser(server.ldapiUri, "", dn, password);
    }
    BindAnswer BindOverTls(const std::string& dn, const std::string& password) const {
        return BindAsUser(server.Value("LDAPS_URI"), server.Value("CA_FILE"), dn, password);
    }

    // The server hashes by a scheme of its own, which the program never uses: a stored {SMD5} is the
    // server's doing.
    void HashBySmd5() {
        ASSERT_EQ(View().AddValues("olcDatabase={-1}frontend,cn=config", "olcPasswordHash", {"{SMD5}"}), LDAP_SUCCESS);
    }
};

TEST_F(LdapPasswordTest, PasswordsAreHashedByTheServerAndEachUserBindsWithItsOwn) {
    HashBySmd5();
    BindAndStart(AdminSettings());
    const PasswordSupport support = DirectoryPasswordSupport();
    EXPECT_EQ(support.password, PasswordLimit::None);
    EXPECT_EQ(support.mustChange, PasswordLimit::NoPolicyOverlay);

    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    const std::vector<std::pair<std::string, std::string>> users{
        {"p1", "Abc12345"},
        {"p2", "Gr\xC3\xBC\xC3\x9F"
               "e \"aus\" C:\\Temp"},
        {"p3", " blank at both ends "},
        {"p4", std::string(60, 'x') + "\\\"{}"},
        {"p5", "Abc12345"},
    };
    for (const auto& [name, password] : users)
        ASSERT_TRUE(CreateUserObject(name, "Student", InitialPassword{password, false})) << name;
    EXPECT_THAT(ui.messages, IsEmpty());

    ServerConnection view = View();
    for (const auto& [name, password] : users) {
        const std::vector<std::string> stored = Values(view, UserDnIn(name), "userPassword");
        ASSERT_EQ(stored.size(), 1u) << name;
        EXPECT_TRUE(stored[0].starts_with("{SMD5}")) << stored[0];
        EXPECT_EQ(stored[0].find(password), std::string::npos);
        EXPECT_EQ(BindOverSocket(UserDnIn(name), password).code, LDAP_SUCCESS) << name;
        const BindAnswer overTls = BindOverTls(UserDnIn(name), password);
        EXPECT_EQ(overTls.code, LDAP_SUCCESS) << name;
        EXPECT_EQ(overTls.searchCode, LDAP_SUCCESS) << name;
        EXPECT_FALSE(overTls.mustChange);
        EXPECT_EQ(BindOverSocket(UserDnIn(name), password + "x").code, LDAP_INVALID_CREDENTIALS) << name;
    }
    // The same password, salted anew for each user.
    EXPECT_NE(Values(view, UserDnIn("p1"), "userPassword"), Values(view, UserDnIn("p5"), "userPassword"));

    // Without the password policy overlay there is no standard way to ask for a change: refused before
    // anything is sent.
    EXPECT_FALSE(CreateUserObject("p6", "Student", InitialPassword{"Abc12345", true}));
    EXPECT_THAT(ui.messages, ElementsAre(Added("FFFFFD75")));
    EXPECT_EQ(view.CountChildren(kEast), users.size());
}

// Where a password could not be kept safe, it never leaves the program.
TEST_F(LdapPasswordTest, UnencryptedConnectionsAndServersOfUnknownKindGetNoPassword) {
    ServerConnection view = View();
    // ldaps, its certificate unchecked as the ldaprc says: no better than plain ldap://.
    LdapSettings plain;
    plain.uri = server.Value("LDAPS_URI");
    BindAndStart(plain);
    EXPECT_EQ(DirectoryPasswordSupport().password, PasswordLimit::Unencrypted);
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    EXPECT_FALSE(CreateUserObject("u1", "Student", InitialPassword{"Abc12345", false}));
    // Without a password the same add reaches the server, which refuses an anonymous one.
    EXPECT_FALSE(CreateUserObject("u1", "Student"));
    EXPECT_THAT(ui.messages, ElementsAre(Added("FFFFFD74"), Added("8")));
    ShutDownAndUnbind();
    ui.messages.clear();

    LdapSettings generic = AdminSettings();
    generic.serverKind = LdapServerKind::Generic;
    BindAndStart(generic);
    EXPECT_EQ(DirectoryPasswordSupport().password, PasswordLimit::UnknownServer);
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    EXPECT_FALSE(CreateUserObject("u2", "Student", InitialPassword{"Abc12345", false}));
    ShutDownAndUnbind();
    ui.messages.clear();

    // A kind set by hand that the root DSE does not bear out: slapd would keep a clear-text
    // userPassword (389's way) as it came.
    for (const LdapServerKind kind : {LdapServerKind::Dirsrv389, LdapServerKind::ActiveDirectory}) {
        LdapSettings wrong = AdminSettings();
        wrong.serverKind = kind;
        BindAndStart(wrong);
        EXPECT_EQ(DirectoryPasswordSupport().password, PasswordLimit::UnknownServer);
        LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
        EXPECT_FALSE(CreateUserObject("u3", "Student", InitialPassword{"Abc12345", false}));
        ShutDownAndUnbind();
    }
    EXPECT_THAT(ui.messages, ElementsAre(Added("FFFFFD76"), Added("FFFFFD76")));
    EXPECT_EQ(view.CountChildren(kEast), 0u);
}

// The overlay's default policy decides whether pwdReset makes the user change the password first.
TEST_F(LdapPasswordTest, PasswordPolicyOverlayMakesNewUsersChangeThePasswordFirst) {
    LoadPasswordPolicy(false);
    BindAndStart(AdminSettings());
    EXPECT_EQ(DirectoryPasswordSupport().mustChange, PasswordLimit::PolicyOff);
    ShutDownAndUnbind();
    // A reader may not see the configuration: the overlay the root DSE shows is all it can go by.
    BindAndStart(ReaderSettings());
    EXPECT_EQ(DirectoryPasswordSupport().mustChange, PasswordLimit::None);
    ShutDownAndUnbind();

    ServerConnection view = View();
    ASSERT_EQ(view.Replace(kDefaultPolicyDn, "pwdMustChange", {"TRUE"}), LDAP_SUCCESS);
    BindAndStart(AdminSettings());
    EXPECT_EQ(DirectoryPasswordSupport().mustChange, PasswordLimit::None);
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    ASSERT_TRUE(CreateUserObject("m1", "Student", InitialPassword{"Abc12345", true}));
    ASSERT_TRUE(CreateUserObject("m2", "Student", InitialPassword{"Abc12345", false}));
    EXPECT_EQ(Values(view, UserDnIn("m1"), "pwdReset"), std::vector<std::string>{"TRUE"});

    const BindAnswer reset = BindOverTls(UserDnIn("m1"), "Abc12345");
    EXPECT_EQ(reset.code, LDAP_SUCCESS);
    EXPECT_TRUE(reset.mustChange);
    EXPECT_EQ(reset.searchCode, LDAP_INSUFFICIENT_ACCESS); // nothing but the change until then
    const BindAnswer plain = BindOverTls(UserDnIn("m2"), "Abc12345");
    EXPECT_EQ(plain.code, LDAP_SUCCESS);
    EXPECT_FALSE(plain.mustChange);
    EXPECT_EQ(plain.searchCode, LDAP_SUCCESS);

    // The server checks each password's quality, as it does for the user: a short one is refused with
    // its code, and nothing of that user is left.
    HashBySmd5();
    ASSERT_EQ(view.Replace(kDefaultPolicyDn, "pwdCheckQuality", {"2"}), LDAP_SUCCESS);
    ASSERT_EQ(view.Replace(kDefaultPolicyDn, "pwdMinLength", {"8"}), LDAP_SUCCESS);
    EXPECT_TRUE(CreateUserObject("m3", "Student", InitialPassword{"Abc12345", true}));
    EXPECT_FALSE(CreateUserObject("m4", "Student", InitialPassword{"Abc1234", true}));
    EXPECT_THAT(ui.messages, ElementsAre(Added("13")));
    EXPECT_EQ(view.Search(UserDnIn("m4"), LDAP_SCOPE_BASE).code, LDAP_NO_SUCH_OBJECT);
    EXPECT_TRUE(Values(view, UserDnIn("m3"), "userPassword").at(0).starts_with("{SMD5}"));
    EXPECT_TRUE(BindOverTls(UserDnIn("m3"), "Abc12345").mustChange);
}

// A policy on one database governs the users made there only.
TEST_F(LdapPasswordTest, ChangeAtFirstLoginOnlyWhereTheContainersPolicyAsksForIt) {
    LoadPasswordPolicy(true, "dc=example,dc=com", 2);
    BindAndStart(AdminSettings());
    EXPECT_EQ(DirectoryPasswordSupport().mustChange, PasswordLimit::None);
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    EXPECT_FALSE(CreateUserObject("n1", "Student", InitialPassword{"Abc12345", true}));
    EXPECT_THAT(ui.messages, ElementsAre(Added("FFFFFD75")));
    ServerConnection view = View();
    EXPECT_EQ(view.CountChildren(kEast), 0u);

    LastDirResult = SetNameContext(DirContext, "People.example\\.com");
    ASSERT_TRUE(CreateUserObject("n2", "Student", InitialPassword{"Abc12345", true}));
    const BindAnswer reset = BindOverTls("cn=n2,ou=People,dc=example,dc=com", "Abc12345");
    EXPECT_EQ(reset.code, LDAP_SUCCESS);
    EXPECT_TRUE(reset.mustChange);
}

// Nothing trusts the test CA: the bind's password reaches the server neither over ldaps nor over
// ldap://, where StartTLS goes first, whatever the ldaprc says.
TEST_F(LdapPasswordTest, PasswordsGoOnlyToAServerWhoseCertificateVerified) {
    ServerConnection view = View();
    LdapSettings settings = ReaderSettings();
    const long binds = OperationCount(view, "Bind", "monitorOpInitiated");
    for (const auto& [uri, code] :
         {std::pair{server.Value("LDAPS_URI"), rc::kServerDown}, std::pair{server.tcpUri, rc::kUnverifiedServer}}) {
        settings.uri = uri;
        BindAndStart(settings);
        EXPECT_EQ(ClientHandle, kClientNotStarted) << uri;
        EXPECT_EQ(Client().AttachClient(1, 1, 0, &ClientHandle), static_cast<NWCCODE>(code)) << uri;
        ShutDownAndUnbind();
    }
    EXPECT_EQ(OperationCount(view, "Bind", "monitorOpInitiated"), binds);
}
