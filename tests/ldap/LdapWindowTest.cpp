#include "HookedUi.h"
#include "ListEntries.h"
#include "OrderTree.h"
#include "ServerConnection.h"
#include "ServerWindowTest.h"
#include "SlapdServer.h"
#include "WindowTest.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"
#include "directory/DirectoryUi.h"
#include "ui/AccountList.h"
#include "ui/StatusBar.h"

#include <QAction>
#include <QStringList>
#include <QTreeWidget>

#include <fstream>
#include <memory>
#include <set>

// The real window, offscreen, on the LDAP backend against a fresh slapd.
class LdapWindowTest : public WindowTest {
protected:
    // The administrator over the local socket, or nobody over TCP; `ldif` is loaded first.
    void StartWindow(bool anonymous = false, const std::string& ldif = {}) {
        std::vector<std::string> files;
        if (!ldif.empty()) {
            files.push_back(server.folder() + "/extra.ldif");
            std::ofstream(files.back()) << ldif;
        }
        ASSERT_EQ(server.Start(files), "");
        LdapSettings settings = Admin();
        if (anonymous)
            settings.uri = server.tcpUri;
        OpenWindow(MakeLdapClient(std::move(settings)));
    }
    LdapSettings Admin() const {
        LdapSettings settings;
        settings.uri = server.ldapiUri;
        return settings;
    }
    void Run(const QStringList& path, const QString& prefix, const QString& surname, const QString& count) {
        PrepareRun(path, prefix, surname, count);
        form_->bbCreateClick();
    }

    SlapdServer server;
};

// "example\.com" is one node: the name the client hands out is already escaped and names it as is.
TEST_F(LdapWindowTest, ScanShowsBothContextsWithCounts) {
    StartWindow();
    EXPECT_EQ(form_->sbStatus->PanelText(3), QStringLiteral("Logged in as: cn=admin,o=acme"));
    form_->ScanNDS1->trigger();
    EXPECT_TRUE(messages_.isEmpty());
    EXPECT_NE(Node({QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")}), nullptr);
    EXPECT_NE(Node({QStringLiteral("example\\.com"), QStringLiteral("People")}), nullptr);
    EXPECT_EQ(form_->sbStatus->PanelText(1), QStringLiteral("Containers found: 5"));
    EXPECT_EQ(form_->sbStatus->PanelText(0), QStringLiteral("Objects detected: 8"));
}

namespace {
// Expects the children of `node` (listed by the scan as `name`, at `level`) to be the containers a
// one-level listing of it gives, in its order, and the same for every node below.
void ExpectNodesFollowOneLevelListings(const QTreeWidgetItem* node, const std::string& name, std::size_t level) {
    QStringList containers;
    if (level > 0) {
        for (const auto& [entry, baseClass] : ListEntries(name)) {
            if (IsContainerClass(baseClass))
                containers << QString::fromStdString(entry);
        }
        QStringList nodes;
        for (int i = 0; i < node->childCount(); ++i)
            nodes << node->child(i)->text(0);
        EXPECT_EQ(nodes, containers) << name;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        const std::string text = node->child(i)->text(0).toStdString();
        const std::string childName = level == 0 ? text : "." + text + (level == 1 ? "." : "") + name;
        ExpectNodesFollowOneLevelListings(node->child(i), childName, level + 1);
    }
}

std::size_t CountBoth(ServerConnection& view, const std::string& filter) {
    std::size_t count = 0;
    for (const char* context : {"o=Acme", "dc=example,dc=com"})
        count += view.Search(context, LDAP_SCOPE_SUBTREE, filter, {"1.1"}).entries.size();
    return count;
}

// One slapd for the shared scenarios, with the sample trees and the order tree below o=Acme.
class SlapdEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        server = std::make_unique<SlapdServer>();
        const std::string ldif = server->folder() + "/order.ldif";
        std::ofstream(ldif) << OrderTreeLdif("o=Acme");
        startError = server->Start({ldif});
    }
    void TearDown() override { server.reset(); }

    static inline std::unique_ptr<SlapdServer> server;
    static inline std::string startError;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SlapdEnvironment);

// OpenLDAP: the administrator over the local socket, users as inetOrgPersons below ou=Sales,o=Acme.
class Slapd : public WindowServer {
    const SlapdServer& server() const { return *SlapdEnvironment::server; }

public:
    Slapd() {
        adminIdentity = "Logged in as: cn=admin,o=acme";
        parentNode = {QStringLiteral("Acme"), QStringLiteral("Sales")};
        parentDotted = QStringLiteral("Sales.Acme");
        parentDn = "ou=Sales,o=Acme";
        contextDn = "o=Acme";
        unitClasses = {"organizationalUnit"};
    }
    std::string StartError() const override { return SlapdEnvironment::startError; }
    ServerConnection Admin() const override { return ServerConnection::OverSocket(server().ldapiUri); }
    Login AdminLogin(bool) const override { return {server().ldapiUri, {}, {}}; }
    std::string UserUri() const override { return server().ldapiUri; }
    // The window's tree, served from the scan's read, is what one-level listings give, in their order.
    ScanCounts ExpectedCounts(ServerConnection& admin) const override {
        return {static_cast<int>(CountBoth(
                    admin, "(|(objectClass=organizationalUnit)(objectClass=organization)(objectClass=country))")),
                static_cast<int>(CountBoth(admin, "(objectClass=*)"))};
    }
    void ExpectTree(const QTreeWidget& tree) const override {
        ExpectNodesFollowOneLevelListings(tree.topLevelItem(0), kRootName, 0);
    }
    std::map<std::string, std::string> NewUserValues(const std::string& login) const override {
        return {{"uid", login}, {"cn", login}};
    }
    int AddLoginHolder(ServerConnection& admin, const std::string& dn, const std::string& login) const override {
        return admin.Add(dn, {{"objectClass", {"inetOrgPerson"}}, {"cn", {"Other"}}, {"sn", {"O"}}, {"uid", {login}}});
    }
    int AddLoginHolderInAnotherContext(ServerConnection& admin, const std::string& login) const override {
        return AddLoginHolder(admin, "cn=Far,ou=People,dc=example,dc=com", login);
    }
    int AddGroup(ServerConnection& admin, const std::string& dn) const override {
        return admin.Add(dn, {{"objectClass", {"groupOfNames"}}, {"member", {"cn=JSmith,ou=Sales,o=Acme"}}});
    }
};
const Slapd kSlapd;
INSTANTIATE_TEST_SUITE_P(Slapd, ServerWindowSuite, ::testing::Values(&kSlapd));
} // namespace

namespace {
std::set<std::string> Held(ServerConnection& view, const std::string& dn, const std::string& attribute) {
    const auto entries = view.Search(dn, LDAP_SCOPE_BASE, "(objectClass=*)", {attribute}).entries;
    if (entries.size() != 1 || !entries[0].attributes.count(attribute))
        return {};
    const auto& values = entries[0].attributes.at(attribute);
    return {values.begin(), values.end()};
}
} // namespace

// Each run's users join the group chosen in Account details, in the form its class lists members:
// member DNs of a groupOfNames, memberUid login names of a posixGroup (one of them a member before,
// which is no error). A group gone before the run's batch stops the run with the group step's code;
// the users stay counted and the account list says they are not in the group.
TEST_F(LdapWindowTest, RunsJoinTheChosenGroupInItsFormAndAFailedGroupStepIsReported) {
    StartWindow(false,
                "dn: cn=Staff,o=Acme\nobjectClass: groupOfNames\ncn: Staff\nmember: cn=JSmith,ou=Sales,o=Acme\n\n"
                "dn: cn=unix,o=Acme\nobjectClass: posixGroup\ncn: unix\ngidNumber: 5000\nmemberUid: unix0002\n");
    form_->ScanNDS1->trigger();
    const QStringList east{QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")};
    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);

    ChooseGroup("cn=Staff,o=Acme");
    Run(east, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});
    EXPECT_EQ(Held(view, "cn=Staff,o=Acme", "member"),
              (std::set<std::string>{"cn=JSmith,ou=Sales,o=Acme", "cn=stud0001,ou=East,ou=Sales,o=Acme",
                                     "cn=stud0002,ou=East,ou=Sales,o=Acme", "cn=stud0003,ou=East,ou=Sales,o=Acme"}));

    messages_.clear();
    ChooseGroup("cn=unix,o=Acme");
    Run(east, QStringLiteral("unix"), QStringLiteral("Unix"), QStringLiteral("3"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});
    EXPECT_EQ(Held(view, "cn=unix,o=Acme", "memberUid"), (std::set<std::string>{"unix0001", "unix0002", "unix0003"}));

    messages_.clear();
    ASSERT_EQ(ldap_delete_ext_s(view.handle(), "cn=unix,o=Acme", nullptr, nullptr), LDAP_SUCCESS);
    Run(east, QStringLiteral("gone"), QStringLiteral("Gone"), QStringLiteral("2"));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code 20 - Adding the created users to the group"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "2 users succesfully created.")}));
    EXPECT_TRUE(AccountListCsv(form_->CreatedAccounts())
                    .endsWith(",Gone,East.Sales.Acme,\"cn=gone0002,ou=East,ou=Sales,o=Acme\",,no\r\n"));
}

TEST_F(LdapWindowTest, AnonymousSessionRefusesTheScan) {
    StartWindow(true);
    EXPECT_EQ(form_->sbStatus->PanelText(3), QStringLiteral("Logged in as: [Public]"));
    form_->ScanNDS1->trigger();
    ASSERT_EQ(messages_.size(), 1);
    EXPECT_TRUE(messages_[0].startsWith(QStringLiteral("ERROR:"))) << messages_[0].toStdString();
    EXPECT_EQ(form_->tvNDSView->topLevelItemCount(), 0);
}

TEST_F(LdapWindowTest, ServerDownAtStartStillOpensTheWindow) {
    ASSERT_EQ(server.Start(), "");
    server.Stop();
    OpenWindow(MakeLdapClient(Admin()));
    EXPECT_EQ(form_->sbStatus->PanelText(3), QStringLiteral("Logged in as: "));
    EXPECT_TRUE(messages_.isEmpty());
}

// Containers whose values read alike, side by side: below Acme ou=Sales and o=Sales; at the top
// dc=example,dc=com and o=example.com, o=[Root] (holding its own Sales) and o=Sales. Every node
// of the scan takes its users to the container it stands for, and only there.
TEST_F(LdapWindowTest, EachNodeOfContainersThatReadAlikeTakesUsersToItsOwnContainer) {
    ASSERT_EQ(server.Start(), "");
    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
    const auto add = [&](const std::string& dn, const char* objectClass, const char* attribute, const char* value) {
        ASSERT_EQ(view.Add(dn, {{"objectClass", {objectClass}}, {attribute, {value}}}), LDAP_SUCCESS) << dn;
    };
    add("o=Sales,o=Acme", "organization", "o", "Sales");
    add("ou=West,o=Sales,o=Acme", "organizationalUnit", "ou", "West");
    int index = 0;
    for (const char* context : {"o=example.com", "o=[Root]", "o=Sales"}) {
        const std::string value = std::string(context).substr(2);
        ASSERT_EQ(server.AddNamingContext(context, "context" + std::to_string(++index),
                                          {{"objectClass", {"organization"}}, {"o", {value}}}),
                  LDAP_SUCCESS)
            << context;
    }
    add("ou=Staff,o=example.com", "organizationalUnit", "ou", "Staff");
    add("ou=Sales,o=[Root]", "organizationalUnit", "ou", "Sales");
    OpenWindow(MakeLdapClient(Admin()));
    form_->ScanNDS1->trigger();
    ASSERT_TRUE(messages_.isEmpty()) << messages_.join(u'|').toStdString();

    struct Target {
        QStringList node;
        const char* prefix;
        const char* dn; // of the container
    };
    const Target targets[] = {
        {{QStringLiteral("Acme"), QStringLiteral("ou=Sales")}, "ou", "ou=Sales,o=Acme"},
        {{QStringLiteral("Acme"), QStringLiteral("o=Sales")}, "o", "o=Sales,o=Acme"},
        {{QStringLiteral("Acme"), QStringLiteral("o=Sales"), QStringLiteral("West")}, "west", "ou=West,o=Sales,o=Acme"},
        {{QStringLiteral("dc=example,dc=com"), QStringLiteral("People")}, "people", "ou=People,dc=example,dc=com"},
        {{QStringLiteral("o=example\\.com")}, "example", "o=example.com"},
        {{QStringLiteral("o=example\\.com"), QStringLiteral("Staff")}, "staff", "ou=Staff,o=example.com"},
        {{QStringLiteral("[Root\\]"), QStringLiteral("Sales")}, "root", "ou=Sales,o=[Root]"},
        {{QStringLiteral("Sales")}, "top", "o=Sales"},
    };
    for (const Target& target : targets) {
        messages_.clear();
        Run(target.node, QLatin1String(target.prefix), QStringLiteral("S"), QStringLiteral("2"));
        EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")}) << target.dn;
    }
    // Each container holds exactly the users of its own run, read as the administrator.
    for (const Target& target : targets) {
        std::vector<std::string> users;
        for (const auto& entry : view.Search(target.dn, LDAP_SCOPE_ONELEVEL, "(sn=S)").entries)
            users.push_back(entry.dn);
        const std::string prefix = std::string("cn=") + target.prefix;
        EXPECT_EQ(users, (std::vector<std::string>{prefix + "0001," + target.dn, prefix + "0002," + target.dn}))
            << target.dn;
    }
}

// Listings cut short by a lost server are no longer taken for whole ones: one box at the end names
// them, while the tree and the counts keep everything received. What the scan's read held before
// the server went is whole; Intl, whose child slapd orders in a way of its own, is left to a
// one-level listing, which fails.
TEST_F(LdapWindowTest, ScanThatLosesItsServerSaysSoOnceAtTheEnd) {
    StartWindow(false, "dn: ou=Intl,o=Acme\nobjectClass: organizationalUnit\nou: Intl\n\n"
                       "dn: ou=\xC3\x9C"
                       "ber,ou=Intl,o=Acme\nobjectClass: organizationalUnit\nou: \xC3\x9C"
                       "ber\n\n");
    HookedUi hook;
    // The top's listing ends once the read has, and its nodes go in then: the server goes after that.
    bool killed = false;
    hook.onPending = [&](int) {
        const QTreeWidgetItem* root = form_->tvNDSView->topLevelItem(0);
        if (!killed && root && root->childCount() > 0) {
            server.Kill();
            killed = true;
        }
    };
    SetDirectoryUi(&hook);
    form_->ScanNDS1->trigger();
    SetDirectoryUi(nullptr);

    ASSERT_TRUE(killed);
    EXPECT_EQ(messages_, QStringList{QStringLiteral("The scan is incomplete: 1 container could not be listed "
                                                    "completely.\r\nIntl.Acme - Error Code FFFFFD7C")});
    EXPECT_NE(Node({QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")}), nullptr);
    EXPECT_NE(Node({QStringLiteral("Acme"), QStringLiteral("Intl")}), nullptr);
    EXPECT_NE(Node({QStringLiteral("example\\.com"), QStringLiteral("People")}), nullptr);
    EXPECT_EQ(form_->sbStatus->PanelText(1), QStringLiteral("Containers found: 6"));
    EXPECT_EQ(form_->sbStatus->PanelText(0), QStringLiteral("Objects detected: 9"));

    // Back on the same program: the next scan is whole again and says nothing.
    ASSERT_EQ(server.Restart(), "");
    messages_.clear();
    form_->ScanNDS1->trigger();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(u'|').toStdString();
    EXPECT_NE(Node({QStringLiteral("Acme"), QStringLiteral("Intl"),
                    QString::fromUtf8("\xC3\x9C"
                                      "ber")}),
              nullptr);
    EXPECT_EQ(form_->sbStatus->PanelText(0), QStringLiteral("Objects detected: 10"));
}
