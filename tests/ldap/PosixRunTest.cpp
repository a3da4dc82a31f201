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
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>

#include <fstream>
#include <set>
#include <thread>

class PosixRunTest : public WindowTest {
protected:
    LdapSettings Admin() const {
        LdapSettings settings;
        settings.uri = server.ldapiUri;
        return settings;
    }

    SlapdServer server;
};

// Each user is a posixAccount with a uidNumber of its own inside the range, the group's gidNumber, the
// home directory of the template and the shell, and joins the posixGroup by login name. A range that
// cannot hold the next run stops it before its first user, with nothing created.
TEST_F(PosixRunTest, WindowRunGivesEachUserALinuxLoginAndAFullRangeCreatesNobody) {
    const std::string ldif = server.folder() + "/group.ldif";
    std::ofstream(ldif) << "dn: cn=unix,o=Acme\nobjectClass: posixGroup\ncn: unix\ngidNumber: 5000\n";
    ASSERT_EQ(server.Start({ldif}), "");
    OpenWindow(MakeLdapClient(Admin()));
    form_->ScanNDS1->trigger();
    ChooseGroup("cn=unix,o=Acme");
    // slapd keeps an expiry in shadowExpire: the date goes with the Linux login.
    const QDate lastDay(2030, 6, 30);
    ChooseAccountDetails([&](TfAccountDetails& dialog) {
        EXPECT_FALSE(dialog.cbExpires->isEnabled());
        dialog.cbPosix->setChecked(true);
        dialog.cbExpires->setChecked(true);
        dialog.deExpires->setDate(lastDay);
        dialog.ebUidLow->setText(QStringLiteral("20000"));
        dialog.ebUidHigh->setText(QStringLiteral("20004"));
        dialog.bbOK->click();
    });
    PrepareRun({QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")}, QStringLiteral("unix"),
               QStringLiteral("Unix"), QStringLiteral("3"));
    EXPECT_TRUE(form_->bbCreate->accessibleDescription().contains(QStringLiteral("(UIDs 20000-20004)")));
    form_->bbCreateClick();
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});

    ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
    ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
    const auto users = view.Search("o=Acme", LDAP_SCOPE_SUBTREE, "(&(objectClass=posixAccount)(uid=unix*))",
                                   {"uid", "uidNumber", "gidNumber", "homeDirectory", "loginShell", "shadowExpire"});
    // The first UTC day that starts at or after the end of the last day.
    const std::int64_t end = lastDay.addDays(1).startOfDay().toSecsSinceEpoch();
    const std::string expireDay = std::to_string((end + 86399) / 86400);
    ASSERT_EQ(users.entries.size(), 3u);
    std::set<std::string> numbers;
    for (const auto& user : users.entries) {
        const auto& held = user.attributes;
        numbers.insert(held.at("uidNumber").at(0));
        EXPECT_EQ(held.at("gidNumber"), std::vector<std::string>{"5000"});
        EXPECT_EQ(held.at("homeDirectory"), std::vector<std::string>{"/home/" + held.at("uid").at(0)});
        EXPECT_EQ(held.at("loginShell"), std::vector<std::string>{"/bin/bash"});
        EXPECT_EQ(held.at("shadowExpire"), std::vector<std::string>{expireDay});
    }
    EXPECT_EQ(numbers, (std::set<std::string>{"20000", "20001", "20002"}));
    EXPECT_EQ(view.Search("cn=unix,o=Acme", LDAP_SCOPE_BASE, "(objectClass=*)", {"memberUid"})
                  .entries.at(0)
                  .attributes.at("memberUid"),
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
    std::set<std::string> numbers;
    for (const auto& user : view.Search("o=Acme", LDAP_SCOPE_SUBTREE, "(&(uid=*)(uidNumber=*))", {"uidNumber"}).entries)
        numbers.insert(user.attributes.at("uidNumber").at(0));
    EXPECT_GE(*numbers.begin(), "30000");
    EXPECT_LE(*numbers.rbegin(), "30100");
    EXPECT_EQ(numbers.size(), 2u * kRuns * kUsers);
}
