#include "BoundClient.h"
#include "BusyCursor.h"
#include "LdapClientFactory.h"
#include "MessageBoxSeam.h"
#include "ServerView.h"
#include "SharedContext.h"
#include "SlapdServer.h"
#include "StatusBar.h"
#include "TreeNodes.h"
#include "uMain.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

// The real window, offscreen, on the LDAP backend against a fresh slapd.
class LdapWindowTest : public ::testing::Test {
protected:
    // The administrator over the local socket, or nobody over TCP.
    void StartWindow(bool anonymous = false) {
        ASSERT_EQ(server.Start(), "");
        LdapSettings settings = Admin();
        if (anonymous)
            settings.uri = server.tcpUri;
        ResetDirectoryState();
        BindClient(MakeLdapClient(std::move(settings)));
        SetMessageBoxHandler([this](const QString& text) { messages << text; });
        form = std::make_unique<TfMain>();
    }
    LdapSettings Admin() const {
        LdapSettings settings;
        settings.uri = server.ldapiUri;
        return settings;
    }
    void TearDown() override {
        form.reset();
        SetMessageBoxHandler({});
        if (HasBoundClient())
            UnbindClient();
        ResetDirectoryState();
        SetApplicationCursor(crDefault);
    }

    QTreeWidgetItem* Node(const QStringList& path) const { return NodeAt(*form->tvNDSView, path); }

    void Run(const QStringList& path, const QString& prefix, const QString& surname, const QString& count) {
        QTreeWidgetItem* node = Node(path);
        ASSERT_NE(node, nullptr);
        form->tvNDSView->setCurrentItem(node);
        form->ebLoginName->setText(prefix);
        form->ebLastName->setText(surname);
        form->ebToCreate->setText(count);
        form->ebNumber->setText(QStringLiteral("1"));
        form->ebFixed->setText(QStringLiteral("4"));
        form->bbCreateClick();
    }

    SlapdServer server;
    std::unique_ptr<TfMain> form;
    QStringList messages;
};

// "example\.com" is one node: the name the client hands out is already escaped and names it as is.
TEST_F(LdapWindowTest, ScanShowsBothContextsWithCounts) {
    StartWindow();
    EXPECT_EQ(form->sbStatus->PanelText(3), QStringLiteral("Logged in as: cn=admin,o=acme"));
    form->ScanNDS1->trigger();
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_NE(Node({QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")}), nullptr);
    EXPECT_NE(Node({QStringLiteral("example\\.com"), QStringLiteral("People")}), nullptr);
    EXPECT_EQ(form->sbStatus->PanelText(1), QStringLiteral("Containers found: 5"));
    EXPECT_EQ(form->sbStatus->PanelText(0), QStringLiteral("Objects detected: 8"));
}

TEST_F(LdapWindowTest, CreationRunLandsOnTheServerAndADuplicateStopsIt) {
    StartWindow();
    form->ScanNDS1->trigger();
    const QStringList east{QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")};
    Run(east, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    EXPECT_EQ(messages, QStringList{QStringLiteral("3 users succesfully created.")});

    ServerView view(server.ldapiUri);
    for (const char* dn : {"cn=stud0001,ou=East,ou=Sales,o=Acme", "cn=stud0003,ou=East,ou=Sales,o=Acme"}) {
        const auto entries = view.Search(dn, LDAP_SCOPE_BASE);
        ASSERT_EQ(entries.size(), 1u) << dn;
        EXPECT_EQ(entries[0].attributes.at("sn"), std::vector<std::string>{"Student"});
    }

    messages.clear();
    Run(east, QStringLiteral("stud"), QStringLiteral("Student"), QStringLiteral("3"));
    EXPECT_EQ(messages, (QStringList{QStringLiteral("Error Code 44 - Trying to create userobject with NWDSAddObject"),
                                     QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                    "0 users succesfully created.")}));
    EXPECT_EQ(view.CountChildren("ou=East,ou=Sales,o=Acme"), 3u);
}

TEST_F(LdapWindowTest, AnonymousSessionRefusesTheScan) {
    StartWindow(true);
    EXPECT_EQ(form->sbStatus->PanelText(3), QStringLiteral("Logged in as: [Public]"));
    form->ScanNDS1->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("ERROR:"))) << messages[0].toStdString();
    EXPECT_EQ(form->tvNDSView->topLevelItemCount(), 0);
}

TEST_F(LdapWindowTest, ServerDownAtStartStillOpensTheWindow) {
    ASSERT_EQ(server.Start(), "");
    server.Stop();
    ResetDirectoryState();
    BindClient(MakeLdapClient(Admin()));
    SetMessageBoxHandler([this](const QString& text) { messages << text; });
    form = std::make_unique<TfMain>();
    EXPECT_EQ(form->sbStatus->PanelText(3), QStringLiteral("Logged in as: "));
    EXPECT_TRUE(messages.isEmpty());
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
