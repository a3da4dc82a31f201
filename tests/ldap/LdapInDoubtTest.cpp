#include "LdapRelay.h"
#include "ServerConnection.h"
#include "SlapdServer.h"
#include "TempFolder.h"
#include "UserBind.h"
#include "WindowTest.h"
#include "client/ldap/LdapClientFactory.h"

#include <QAction>
#include <QStringList>

#include <memory>

namespace {
const QStringList kEast{QStringLiteral("Acme"), QStringLiteral("Sales"), QStringLiteral("East")};
const char* const kEastDn = "ou=East,ou=Sales,o=Acme";
const char* const kEarlierPassword = "Earlier-Pass1";
} // namespace

// The window on slapd through a relay that loses an add, or its answer, at a chosen point: the
// run's count must always be what the server holds.
class LdapInDoubtTest : public WindowTest {
protected:
    void SetUp() override {
        // A user made long before, as a run with the prefix "dup" would make it, with a password of its own.
        const std::string earlier = WriteFile(server.folder(), "earlier.ldif",
                                              "dn: cn=dup0001," + std::string(kEastDn) +
                                                  "\nobjectClass: inetOrgPerson\ncn: dup0001\nsn: Doubt\nuid: dup0001\n"
                                                  "userPassword: " +
                                                  kEarlierPassword + "\ncreateTimestamp: 20200101000000Z\n",
                                              0600);
        ASSERT_EQ(server.Start({earlier}), "");
        relay = std::make_unique<LdapRelay>(server.ldapiSocket, server.folder() + "/relay");
        ASSERT_EQ(relay->error(), "");
        LdapSettings settings;
        settings.uri = relay->uri();
        // A held answer costs the run one operation timeout.
        settings.operationTimeoutSeconds = 1;
        OpenWindow(MakeLdapClient(std::move(settings)));
        form_->ScanNDS1->trigger();
        ASSERT_TRUE(messages_.isEmpty());
    }
    void TearDown() override {
        WindowTest::TearDown();
        relay.reset();
    }

    void Run(const QString& prefix, const QString& count) {
        messages_.clear();
        PrepareRun(kEast, prefix, QStringLiteral("Doubt"), count);
        form_->bbCreateClick();
    }
    // The entries in East whose name starts with `prefix`, read by the test's own connection.
    std::vector<ServerConnection::Entry> Held(const std::string& prefix) {
        ServerConnection view = ServerConnection::OverSocket(server.ldapiUri);
        EXPECT_EQ(view.bindCode(), LDAP_SUCCESS);
        return view.Search(kEastDn, LDAP_SCOPE_ONELEVEL, "(cn=" + prefix + "*)").entries;
    }

    SlapdServer server;
    std::unique_ptr<LdapRelay> relay;
};

TEST_F(LdapInDoubtTest, LostAddOrAnswerIsReadBackNeverCountedTwiceOrLost) {
    using Loss = LdapRelay::Loss;
    struct Case {
        const char* prefix;
        int lostAdd;
        Loss loss;
        int addsSent; // an applied add is never sent again; one that never arrived is, once
    };
    for (const Case& c : {Case{"answer-first", 1, Loss::Answer, 6}, Case{"answer-mid", 4, Loss::Answer, 6},
                          Case{"answer-last", 6, Loss::Answer, 6}, Case{"request-first", 1, Loss::Request, 7},
                          Case{"request-mid", 3, Loss::Request, 7}, Case{"timeout", 2, Loss::HeldAnswer, 6}}) {
        SCOPED_TRACE(c.prefix);
        const int before = relay->adds();
        relay->LoseAdd(c.lostAdd, c.loss);
        Run(QString::fromLatin1(c.prefix), QStringLiteral("6"));
        EXPECT_EQ(messages_, QStringList{QStringLiteral("6 users succesfully created.")});
        EXPECT_EQ(relay->adds() - before, c.addsSent);
        EXPECT_EQ(Held(c.prefix).size(), 6u);
    }
}

// Someone else creates the user while the add is in doubt: what the entry holds decides.
TEST_F(LdapInDoubtTest, EntryFoundInDoubtIsJudgedByWhatWasSent) {
    const auto createMeanwhile = [this](const std::string& cn, const std::vector<std::string>& classes,
                                        const std::string& surname) {
        return [this, cn, classes, surname] {
            ServerConnection other = ServerConnection::OverSocket(server.ldapiUri);
            EXPECT_EQ(other.Add("cn=" + cn + "," + kEastDn,
                                {{"objectClass", classes}, {"cn", {cn}}, {"sn", {surname}}, {"uid", {cn}}}),
                      LDAP_SUCCESS);
        };
    };

    // The values sent, among superclasses spelt another way (as some servers list them): done.
    relay->LoseAdd(2, LdapRelay::Loss::Request,
                   createMeanwhile("same0002", {"top", "person", "organizationalPerson", "INETORGPERSON"}, "Doubt"));
    Run(QStringLiteral("same"), QStringLiteral("4"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("4 users succesfully created.")});
    EXPECT_EQ(Held("same").size(), 4u);

    // Another surname: entryAlreadyExists, as the server would answer, and nothing sent over it.
    const int before = relay->adds();
    relay->LoseAdd(3, LdapRelay::Loss::Request, createMeanwhile("clash0003", {"inetOrgPerson"}, "Other"));
    Run(QStringLiteral("clash"), QStringLiteral("5"));
    EXPECT_EQ(messages_, (QStringList{QStringLiteral("Error Code 44 - Trying to create userobject with NWDSAddObject"),
                                      QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                                     "2 users succesfully created.")}));
    EXPECT_EQ(relay->adds() - before, 3);
    const auto held = Held("clash");
    ASSERT_EQ(held.size(), 3u);
    for (const auto& entry : held) {
        const bool theirs = entry.dn.starts_with("cn=clash0003,");
        EXPECT_EQ(entry.attributes.at("sn"), std::vector<std::string>{theirs ? "Other" : "Doubt"}) << entry.dn;
    }
}

// A password is nothing a read-back can compare: the server may hash it, or, as here, let the
// administrator set it but never read it. An add with a password whose answer is lost still counts
// once, judged by the rest of the entry, and the user binds with the list's password.
TEST_F(LdapInDoubtTest, AddWithAPasswordFoundInDoubtCountsOnceAndBinds) {
    ServerConnection config = ServerConnection::OverSocket(server.ldapiUri);
    const std::string admin = "dn.exact=\"" + server.adminDn + "\"";
    ASSERT_EQ(config.Replace("olcDatabase={1}mdb,cn=config", "olcAccess",
                             {"{0}to attrs=userPassword by " + admin + " =wx by self read by anonymous auth by * none",
                              "{1}to * by " + admin + " write by * read"}),
              LDAP_SUCCESS);

    ChooseRandomPasswords(12);
    const int before = relay->adds();
    relay->LoseAdd(2, LdapRelay::Loss::Answer);
    Run(QStringLiteral("pw"), QStringLiteral("3"));
    EXPECT_EQ(messages_, QStringList{QStringLiteral("3 users succesfully created.")});
    EXPECT_EQ(relay->adds() - before, 3);
    ASSERT_EQ(Held("pw").size(), 3u);
    ASSERT_EQ(form_->CreatedAccounts().size(), 3u);
    for (const CreatedAccount& account : form_->CreatedAccounts()) {
        const std::string dn = "cn=" + account.loginName.toStdString() + "," + kEastDn;
        EXPECT_EQ(BindAsUser(server.ldapiUri, "", dn, std::string(account.password.View())).code, LDAP_SUCCESS) << dn;
    }
}

// The add of a user that was there before is refused, and the refusal lost: the entry holds what was
// sent, but it is older than the add, so it is not this run's. Nothing is counted, the run stops, and
// the user keeps its own password.
TEST_F(LdapInDoubtTest, EarlierUserFoundInDoubtIsNeverCountedAsCreated) {
    ChooseRandomPasswords(12);
    relay->LoseAdd(1, LdapRelay::Loss::Answer);
    Run(QStringLiteral("dup"), QStringLiteral("2"));
    EXPECT_EQ(messages_,
              (QStringList{QStringLiteral("Error Code FFFFFD73 - Trying to create userobject with NWDSAddObject"),
                           QStringLiteral("An NDS-error was encountered, aborting creation process. \r\n"
                                          "0 users succesfully created.")}));
    EXPECT_TRUE(form_->CreatedAccounts().empty());
    EXPECT_EQ(Held("dup").size(), 1u);
    EXPECT_EQ(BindAsUser(server.ldapiUri, "", "cn=dup0001," + std::string(kEastDn), kEarlierPassword).code,
              LDAP_SUCCESS);
}
