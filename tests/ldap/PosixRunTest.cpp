// Linux logins (POSIX) of a run's users on a real slapd, read back with an admin connection.
#include "AddRequest.h"
#include "ServerConnection.h"
#include "SlapdServer.h"
#include "WindowTest.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"
#include "ui/AccountDetailsDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <fstream>
#include <set>
#include <thread>

namespace {
// The first value of `attribute`, empty for none.
std::string First(const ServerConnection::Entry& entry, const std::string& attribute) {
    const auto found = entry.attributes.find(attribute);
    return found == entry.attributes.end() || found->second.empty() ? std::string() : found->second.front();
}
} // namespace

class PosixRunTest : public WindowTest {
protected:
    void StartWindow(const std::string& ldif) {
        const std::string file = server.folder() + "/extra.ldif";
        std::ofstream(file) << ldif;
        ASSERT_EQ(server.Start({file}), "");
        OpenWindow(MakeLdapClient(Admin()));
    }
    LdapSettings Admin() const {
        LdapSettings settings;
        settings.uri = server.ldapiUri;
        return settings;
    }
    // Account details: the group `groupDn`, a Linux login with the UID range `low`-`high`.
    void ChoosePosix(const std::string& groupDn, const QString& low, const QString& high) {
        ChooseAccountDetails([&](TfAccountDetails& dialog) {
            ASSERT_TRUE(dialog.cbPosix->isEnabled()) << dialog.cbPosix->toolTip().toStdString();
            dialog.cbGroup->setChecked(true);
            for (int i = 0; i < dialog.lbGroups->count(); ++i) {
                if (dialog.lbGroups->item(i)->toolTip() == QString::fromStdString(groupDn))
                    dialog.lbGroups->setCurrentRow(i);
            }
            dialog.cbPosix->setChecked(true);
            dialog.ebUidLow->setText(low);
            dialog.ebUidHigh->setText(high);
            dialog.bbOK->click();
        });
    }

    SlapdServer server;
};

// Each user is a posixAccount with a uidNumber of its own inside the range, the group's gidNumber, the
// home directory of the template and the shell, and joins the posixGroup by login name. A range that
// cannot hold the next run stops it before its first user, with nothing created.
TEST_F(PosixRunTest, WindowRunGivesEachUserALinuxLoginAndAFullRangeCreatesNobody) {
    StartWindow("dn: cn=unix,o=Acme\nobjectClass: posixGroup\ncn: unix\ngidNumber: 5000\n");
    form_->ScanNDS1->trigger();
    ChoosePosix("cn=unix,o=Acme", QStringLiteral("20000"), QStringLiteral("20004"));
    PrepareRun({QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")}, QStringLiteral("unix"),
               QStringLiteral("Unix"), QStringLiteral("3"));
    EXPECT_TRUE(form_->bbCreate->accessibleDescription().contains(QStringLiteral("(UIDs 20000-20004)")));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});

    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
    const auto users = view.Search("o=Acme", LDAP_SCOPE_SUBTREE, "(&(objectClass=posixAccount)(uid=unix*))",
                                   {"uid", "uidNumber", "gidNumber", "homeDirectory", "loginShell"});
    ASSERT_EQ(users.entries.size(), 3u);
    std::set<std::string> numbers;
    for (const auto& user : users.entries) {
        const std::string uid = First(user, "uid");
        numbers.insert(First(user, "uidNumber"));
        EXPECT_EQ(First(user, "gidNumber"), "5000") << uid;
        EXPECT_EQ(First(user, "homeDirectory"), "/home/" + uid);
        EXPECT_EQ(First(user, "loginShell"), "/bin/bash") << uid;
    }
    EXPECT_EQ(numbers, (std::set<std::string>{"20000", "20001", "20002"}));
    const auto group = view.Search("cn=unix,o=Acme", LDAP_SCOPE_BASE, "(objectClass=*)", {"memberUid"});
    ASSERT_EQ(group.entries.size(), 1u);
    EXPECT_EQ(group.entries[0].attributes.at("memberUid"),
              (std::vector<std::string>{"unix0001", "unix0002", "unix0003"}));

    messages_.clear();
    PrepareRun({QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")}, QStringLiteral("full"),
               QStringLiteral("Full"), QStringLiteral("3"));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code FFFFFD63 - No uidNumbers left in the range "
                                                     "20000-20004 for the run's users, no user created"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "0 users succesfully created.")}));
    EXPECT_TRUE(view.Search("o=Acme", LDAP_SCOPE_SUBTREE, "(uid=full*)", {"1.1"}).entries.empty());
}

// Two clients reserving and adding at the same time on one range: every number once.
TEST_F(PosixRunTest, TwoClientsAtOnceNeverShareANumber) {
    ASSERT_EQ(server.Start(), "");
    constexpr int kRuns = 8;
    constexpr std::uint32_t kUsers = 4;
    const auto runs = [&](const std::string& prefix) {
        auto client = MakeLdapClient(Admin());
        std::uint32_t scope = 0;
        std::uint32_t handle = 0;
        NWDSContextHandle context = 0;
        ASSERT_EQ(client->StartClientLibrary(nullptr, nullptr), 0);
        ASSERT_EQ(client->OpenClientScope(&scope), 0);
        ASSERT_EQ(client->AttachClient(scope, 1, 0, &handle), 0);
        ASSERT_EQ(client->CreateContext(&context), 0);
        ASSERT_EQ(client->SetContext(context, kContextNameContext, "East.Sales.Acme"), 0);
        for (int run = 0; run < kRuns; ++run) {
            UidBlock block;
            ASSERT_EQ(client->ReserveUidNumbers(context, kUsers, UidRange{30000, 30100}, &block), 0);
            for (std::uint32_t user = 0; user < kUsers; ++user) {
                const std::string name = prefix + std::to_string(run) + "x" + std::to_string(user);
                ASSERT_EQ(AddObject(*client, "East.Sales.Acme", name,
                                    {{kObjectClassAttribute, kSyntaxClassName, kUserClass},
                                     {kSurnameAttribute, kSyntaxCaseIgnoreString, "S"},
                                     {kUidNumberAttribute, kSyntaxInteger, block.NumberAt(user)},
                                     {kGidNumberAttribute, kSyntaxInteger, "100"},
                                     {kHomeDirectoryAttribute, kSyntaxCaseIgnoreString, "/home/" + name},
                                     {kLoginShellAttribute, kSyntaxCaseIgnoreString, "/bin/sh"}}),
                          0);
            }
        }
    };
    std::thread other(runs, "b");
    runs("a");
    other.join();

    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
    std::set<std::string> numbers;
    for (const auto& user :
         view.Search("o=Acme", LDAP_SCOPE_SUBTREE, "(objectClass=posixAccount)", {"uidNumber"}).entries) {
        const std::string number = First(user, "uidNumber");
        EXPECT_TRUE(number >= "30000" && number <= "30100") << number;
        numbers.insert(number);
    }
    EXPECT_EQ(numbers.size(), 2u * kRuns * kUsers);
}
