// A batch disabled, enabled and removed beside its decoys on 389 Directory Server and Samba AD, bound
// over ldaps as each server's administrator; each user proven by its own bind.
#include "AddRequest.h"
#include "BatchTree.h"
#include "DirectoryBinding.h"
#include "DirsrvServer.h"
#include "FixtureSuite.h"
#include "RecordingUi.h"
#include "SambaServer.h"
#include "TempFolder.h"
#include "UserBind.h"
#include "client/BoundClient.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"

#include <gmock/gmock.h>

#include <ctime>

template <typename Server> class BatchSuite : public FixtureSuite<Server> {
protected:
    static void SetUpTestSuite() { FixtureSuite<Server>::StartServer(); }
    void TearDown() override { ShutDownAndUnbind(); }

    // Binds the client as the server's administrator, and opens the test's own view as the same.
    ServerConnection BindAdmin() {
        auto& running = *this->server;
        EXPECT_TRUE(TrustForNewHandles(running.caFile));
        LdapSettings settings;
        settings.uri = running.ldapsUri;
        settings.bindDn = running.adminDn;
        settings.passwordFile = WriteFile(folder_.path(), "password", running.adminPassword, 0600);
        ::BindAndStart(MakeLdapClient(std::move(settings)), ui_);
        return ServerConnection::OverTls(running.ldapsUri, running.caFile, running.adminDn, running.adminPassword);
    }
    void Check(const std::string& base, const std::string& topDotted, const BatchDecoyClasses& classes,
               const std::string& password) {
        ServerConnection view = BindAdmin();
        ASSERT_EQ(view.bindCode(), LDAP_SUCCESS);
        const BatchTree tree = MakeBatchTree(view, base, topDotted, classes, password);
        ExpectOnlyTheBatchIsTouched(view, tree, [&](const std::string& dn, const std::string& userPassword) {
            return BindAsUser(this->server->ldapsUri, this->server->caFile, dn, userPassword).code;
        });
        EXPECT_THAT(ui_.messages, ::testing::IsEmpty());
    }

    RecordingUi ui_;
    TempFolder folder_;
};

using DirsrvBatchTest = BatchSuite<DirsrvServer>;
using SambaBatchTest = BatchSuite<SambaServer>;

// 389 keeps the disabled login in nsAccountLock.
TEST_F(DirsrvBatchTest, OnlyTheBatchIsDisabledEnabledAndRemoved) {
    Check(server->suffix, "example\\.com",
          {{{"objectClass", {"device"}}},
           {{"objectClass", {"inetOrgPerson"}}, {"sn", {"Holder"}}},
           {{"objectClass", {"device"}}}},
          "Batch-389-pass");
}

// Active Directory keeps it in userAccountControl; a user may hold FRS subscriptions; login names are
// unique in the domain, so ou=Sub's namesake is a contact.
TEST_F(SambaBatchTest, OnlyTheBatchIsDisabledEnabledAndRemoved) {
    Check(server->baseDn, "ad\\.example\\.com",
          {{{"objectClass", {"contact"}}},
           {{"objectClass", {"user"}}, {"sAMAccountName", {"stud0006"}}},
           {{"objectClass", {"nTFRSSubscriptions"}}},
           {{"objectClass", {"contact"}}}},
          "Batch-AD-pass-2026");
}

// An expiry set with the user in the same add: once it has passed, the user's bind is refused.
TEST_F(SambaBatchTest, UserWhoseExpiryHasPassedCannotBind) {
    ServerConnection view = BindAdmin();
    ASSERT_EQ(view.Add("ou=Expiry," + server->baseDn, {{"objectClass", {"organizationalUnit"}}, {"ou", {"Expiry"}}}),
              LDAP_SUCCESS);
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    const std::string password = "Expiry-AD-pass-2026";
    for (const auto& [name, expires] : {std::pair{"expired", now - 60}, std::pair{"current", now + 86400}})
        ASSERT_EQ(AddObject(Client(), "Expiry.ad\\.example\\.com", name,
                            {{kObjectClassAttribute, kSyntaxClassName, kUserClass},
                             {kSurnameAttribute, kSyntaxCaseIgnoreString, "Student"},
                             {kPasswordAttribute, kSyntaxOctetString, password},
                             {kLoginExpirationTimeAttribute, kSyntaxTime, std::to_string(expires)}}),
                  0);
    const std::string base = ",ou=Expiry," + server->baseDn;
    EXPECT_EQ(BindAsUser(server->ldapsUri, server->caFile, "cn=expired" + base, password).code,
              LDAP_INVALID_CREDENTIALS);
    EXPECT_EQ(BindAsUser(server->ldapsUri, server->caFile, "cn=current" + base, password).code, LDAP_SUCCESS);
}
