// A batch disabled, enabled and removed beside its decoys on 389 Directory Server and Samba AD, bound
// over ldaps as each server's administrator; each user proven by its own bind.
#include "BatchTree.h"
#include "DirectoryBinding.h"
#include "DirsrvServer.h"
#include "FixtureSuite.h"
#include "RecordingUi.h"
#include "SambaServer.h"
#include "TempFolder.h"
#include "UserBind.h"
#include "client/ldap/LdapClientFactory.h"

#include <gmock/gmock.h>

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
