#include "ListEntries.h"
#include "ServerWindowTest.h"
#include "UserBind.h"
#include "client/BoundClient.h"
#include "client/DottedName.h"
#include "client/ldap/names/LdapDn.h"
#include "directory/CreateUserObject.h"
#include "directory/SharedContext.h"
#include "ui/AccountList.h"
#include "ui/OutputDialogSeam.h"
#include "ui/PasswordsDialog.h"
#include "ui/TakenNamesPreview.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>

#include <gmock/gmock.h>

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;

namespace {
QString Stopped(int created) {
    return QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n%1 users succesfully created.")
        .arg(created);
}
const QString kAddRefused = QStringLiteral("Error Code 13 - Trying to create userobject with NWDSAddObject");
} // namespace

// The counts equal the server's own, as its administrator reads them.
TEST_P(ServerWindowSuite, ScanShowsTheTreeWithTheServersCounts) {
    OpenWindowAs(Server().AdminLogin());
    EXPECT_EQ(ShownIdentity(), Server().adminIdentity);
    Scan();
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();
    Server().ExpectTree(*form_->tvNDSView);
    ServerConnection admin = Server().Admin();
    EXPECT_EQ(ShownCounts(), Server().ExpectedCounts(admin));
}

// Every user carries its login name where the server looks for it; the same run again stops at its first user.
TEST_P(ServerWindowSuite, CreatedUsersCarryTheLoginNameAndTheSameRunAgainStopsAtOnce) {
    const std::string container = OwnContainer("Creation");
    Run(Path(QStringLiteral("Creation")), QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});

    ServerConnection admin = Server().Admin();
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 3);
    for (const std::string name : {"stud0001", "stud0002", "stud0003"}) {
        const std::string dn = UserDn(name, container);
        EXPECT_THAT(ValuesOf(admin, dn, "objectClass"), Contains(Server().userClass)) << dn;
        EXPECT_THAT(ValuesOf(admin, dn, "sn"), ElementsAre("Student"));
        for (const auto& [attribute, value] : Server().NewUserValues(name))
            EXPECT_THAT(ValuesOf(admin, dn, attribute), ElementsAre(value)) << dn << " " << attribute;
    }

    messages_.clear();
    Run(Path(QStringLiteral("Creation")), QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code 44 - Trying to create userobject with NWDSAddObject"),
                                      Stopped(0)}));
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 3);
}

// A login name held elsewhere in the naming context, in another letter case, is announced by the
// preview and stops the run at that user with its own code; the users before it are in the group
// chosen in Account details, in the form the server's groups list members.
TEST_P(ServerWindowSuite, LoginNameTakenElsewhereStopsTheRunAndTheUsersBeforeItJoinTheGroup) {
    const std::string container = OwnContainer("Taken");
    ServerConnection admin = Server().Admin();
    ASSERT_EQ(Server().AddLoginHolder(admin, Server().userRdn + "Elsewhere," + Server().parentDn, "TKN0003"),
              LDAP_SUCCESS);
    ASSERT_EQ(Server().AddLoginHolderInAnotherContext(admin, "tkn0001"), LDAP_SUCCESS); // no obstacle
    const std::string group = Server().userRdn + "Takers," + container;
    ASSERT_EQ(Server().AddGroup(admin, group), LDAP_SUCCESS);
    std::vector<std::string> members;
    for (const std::string& member : ValuesOf(admin, group, Server().memberAttribute))
        members.push_back(FoldCase(member));
    for (const std::string name : {"tkn0001", "tkn0002"})
        members.push_back(FoldCase(UserDn(name, container)));

    ChooseGroup(group);
    QSignalSpy found(form_->findChild<TakenNamesPreview*>(), &TakenNamesPreview::Found);
    PrepareRun(Path(QStringLiteral("Taken")), QStringLiteral("tkn"), QStringLiteral("Taker"), QStringLiteral("4"));
    ASSERT_TRUE(found.wait());
    EXPECT_EQ(
        form_->bbCreate->accessibleDescription(),
        QStringLiteral("Creates tkn0001 ... tkn0004 in %1, joining the group Takers. Login names already used in the "
                       "directory: tkn0003")
            .arg(Dotted(QStringLiteral("Taken"))));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code FFFFFD64 - Login name already used in the directory, "
                                                     "user not created"),
                                      Stopped(2)}));
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 3); // the group and two users
    EXPECT_EQ(CountEntries(admin, Server().contextDn, LDAP_SCOPE_SUBTREE, "(" + Server().loginAttribute + "=tkn*)"), 3);
    std::vector<std::string> held;
    for (const std::string& member : ValuesOf(admin, group, Server().memberAttribute))
        held.push_back(FoldCase(member));
    EXPECT_THAT(held, ::testing::UnorderedElementsAreArray(members));
}

// The account list is what gets handed out: each of its rows, directory name and password, binds,
// the awkward password too; a wrong password does not.
TEST_P(ServerWindowSuite, EveryUserBindsWithThePasswordOfTheList) {
    const std::string container = OwnContainer("Passwords");
    OpenWindowAs(Server().AdminLogin(true));
    Scan();
    ChoosePasswords([&](TfPasswords& dialog) {
        dialog.rbRandomPassword->setChecked(true);
        dialog.seLength->setValue(16);
        Server().ExpectMustChangeBox(dialog);
    });
    const QStringList path = Path(QStringLiteral("Passwords"));
    Run(path, QStringLiteral("rnd"), QStringLiteral("Student"), QStringLiteral("3"));
    std::vector<CreatedAccount> accounts = form_->CreatedAccounts();
    ASSERT_EQ(accounts.size(), 3u);

    TempFolder folder;
    const QString file = QString::fromStdString(folder.path() + "/accounts.csv");
    SetSaveFileNameHandler([&](const QString&) { return file; });
    form_->SaveAccountList1->trigger();
    SetSaveFileNameHandler({});
    // The list names each user as the program made it: cn= and its container as the server spells it.
    QByteArray expected = "Login name,Last name,Container,Directory name,Password\r\n";
    for (const CreatedAccount& account : accounts) {
        EXPECT_EQ(account.password.size(), 16);
        expected += account.loginName.toUtf8() + ",Student," + Dotted(QStringLiteral("Passwords")).toUtf8() + ",\"" +
                    QByteArray::fromStdString("cn=" + account.loginName.toStdString() + "," + container) + "\"," +
                    QByteArray::fromStdString(std::string(account.password.View())) + "\r\n";
    }
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), QString::fromUtf8(expected));

    ASSERT_EQ(kAwkwardPassword.size(), 64);
    ChooseOnePassword(kAwkwardPassword);
    Run(path, QStringLiteral("one"), QStringLiteral("Student"), QStringLiteral("1"));
    accounts.push_back(form_->CreatedAccounts().at(0));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("3 users succesfully created."),
                                      QStringLiteral("1 users succesfully created.")}));

    ServerConnection admin = Server().Admin();
    ASSERT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 4);
    for (const CreatedAccount& account : accounts) {
        const std::string dn = UserDn(account.loginName.toStdString(), container);
        const std::string password(account.password.View());
        Server().ExpectPasswordKept(admin, dn);
        const BindAnswer bound = BindAsUser(Server().UserUri(), Server().CaFile(), dn, password);
        EXPECT_EQ(bound.code, LDAP_SUCCESS) << dn << " " << bound.text;
        EXPECT_EQ(bound.searchCode, LDAP_SUCCESS) << dn;
        EXPECT_EQ(BindAsUser(Server().UserUri(), Server().CaFile(), dn, password + "x").code, LDAP_INVALID_CREDENTIALS)
            << dn;
    }
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ServerRulesWindowTest);

// What the server takes becomes one literal entry each; what it cannot take is refused whole.
TEST_P(ServerRulesWindowTest, HostileNamesAreCreatedLiterallyOrRefusedWhole) {
    const std::string container = OwnContainer("Hostile");
    const std::string dotted = Dotted(QStringLiteral("Hostile")).toStdString();
    LastDirResult = SetNameContext(DirContext, dotted);
    const std::vector<std::string> taken = Server().hostileTaken;
    for (const std::string& name : taken)
        EXPECT_TRUE(CreateUserObject(name, "Hostile")) << name;
    EXPECT_TRUE(messages_.isEmpty()) << messages_.join(QStringLiteral(" | ")).toStdString();
    const std::vector<std::string> refused = Server().hostileRefused;
    for (const std::string& name : refused)
        EXPECT_FALSE(CreateUserObject(name, "Hostile")) << name;
    EXPECT_EQ(messages_.size(), static_cast<qsizetype>(refused.size()));
    for (const QString& message : messages_)
        EXPECT_EQ(message.toStdString(), Server().hostileRefusal);

    ServerConnection admin = Server().Admin();
    const std::string login = Server().loginAttribute;
    const auto created = admin.Search(container, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"cn", login});
    ASSERT_EQ(created.entries.size(), taken.size());
    std::vector<std::pair<std::string, std::string>> stored;
    for (const auto& entry : created.entries)
        stored.emplace_back(entry.attributes.at("cn").at(0), entry.attributes.at(login).at(0));
    const auto listed = ListEntries(dotted);
    for (const std::string& name : taken) {
        EXPECT_THAT(stored, Contains(Pair(name, name)));
        EXPECT_THAT(listed, Contains(Pair(EscapeNamePart(name), "User")));
    }
}

// Where the server's policy asks for it, new users must change the password before anything else.
TEST_P(ServerRulesWindowTest, MustChangeMakesTheFirstBindAskForANewPassword) {
    const Undo policy = Server().AskForChange();
    const std::string container = OwnContainer("MustChange", Server().PolicyLogin());
    ChooseOnePassword(QStringLiteral("Secret-AD-1"), true);
    EXPECT_TRUE(form_->Passwords().mustChange); // the box was enabled: the policy is readable and on
    Run(Path(QStringLiteral("MustChange")), QStringLiteral("new"), QStringLiteral("Student"), QStringLiteral("2"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("2 users succesfully created.")});

    ServerConnection admin = Server().Admin();
    for (const std::string name : {"new0001", "new0002"}) {
        const std::string dn = UserDn(name, container);
        Server().ExpectMustChange(admin, dn, BindAsUser(Server().UserUri(), Server().CaFile(), dn, "Secret-AD-1"));
    }
}

// A password the server's rules refuse stops the run, and nothing of the user is left behind.
TEST_P(ServerRulesWindowTest, PasswordTheServerRefusesStopsTheRunAndNothingOfTheUserExists) {
    const Undo policy = Server().RefuseShortPasswords();
    const std::string container = OwnContainer("Refused");
    ChooseOnePassword(QStringLiteral("Ab1"));
    Run(Path(QStringLiteral("Refused")), QStringLiteral("short"), QStringLiteral("Student"), QStringLiteral("3"));
    EXPECT_EQ(messages_, (QStringList{kAddRefused, Stopped(0)}));
    ServerConnection admin = Server().Admin();
    EXPECT_EQ(CountEntries(admin, container, LDAP_SCOPE_ONELEVEL), 0);
    EXPECT_TRUE(form_->CreatedAccounts().empty());
}
