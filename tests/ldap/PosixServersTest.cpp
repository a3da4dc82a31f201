// Linux logins on 389 Directory Server and Samba AD (provisioned with RFC 2307), bound over ldaps as
// each server's administrator, read back through the test's own view.
#include "AddRequest.h"
#include "DirectoryBinding.h"
#include "DirsrvServer.h"
#include "FixtureSuite.h"
#include "RecordingUi.h"
#include "SambaServer.h"
#include "TempFolder.h"
#include "client/BoundClient.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"

#include <gmock/gmock.h>

template <typename Server> class PosixServersSuite : public FixtureSuite<Server> {
protected:
    static void SetUpTestSuite() { FixtureSuite<Server>::StartServer(); }
    void TearDown() override { ShutDownAndUnbind(); }

    ServerConnection BindAdmin() {
        auto& running = *this->server;
        EXPECT_TRUE(TrustForNewHandles(running.caFile));
        LdapSettings settings;
        settings.uri = running.ldapsUri;
        settings.bindDn = running.adminDn;
        settings.passwordFile = WriteFile(folder_.path(), "password", running.adminPassword, 0600);
        ::BindAndStart(MakeLdapClient(std::move(settings)), ui_);
        EXPECT_EQ(Client().QueryPosixSupport(), PosixLimit::None);
        return ServerConnection::OverTls(running.ldapsUri, running.caFile, running.adminDn, running.adminPassword);
    }
    static NWDSCCODE AddPosixUser(const std::string& container, const std::string& name, const std::string& uid) {
        return AddObject(Client(), container, name,
                         {{kObjectClassAttribute, kSyntaxClassName, kUserClass},
                          {kSurnameAttribute, kSyntaxCaseIgnoreString, "Posix"},
                          {kUidNumberAttribute, kSyntaxInteger, uid},
                          {kGidNumberAttribute, kSyntaxInteger, "4000"},
                          {kHomeDirectoryAttribute, kSyntaxCaseIgnoreString, "/home/" + name},
                          {kLoginShellAttribute, kSyntaxCaseIgnoreString, "/bin/sh"}});
    }

    RecordingUi ui_;
    TempFolder folder_;
};

using DirsrvPosixTest = PosixServersSuite<DirsrvServer>;
using SambaPosixTest = PosixServersSuite<SambaServer>;
using ::testing::Contains;
using ::testing::Pair;

// 389: posixAccount in the same add, the numbers reserved from the counter entry.
TEST_F(DirsrvPosixTest, UsersArePosixAccountsWithReservedNumbers) {
    ServerConnection view = BindAdmin();
    NWDSContextHandle context = 0;
    ASSERT_EQ(Client().CreateContext(&context), 0);
    ASSERT_EQ(Client().SetContext(context, kContextNameContext, "People.example\\.com"), 0);
    UidBlock block;
    ASSERT_EQ(Client().ReserveUidNumbers(context, 2, UidRange{40000, 40100}, &block), 0);
    ASSERT_EQ(AddPosixUser("People.example\\.com", "px1", block.NumberAt(1)), 0);
    const auto user = view.Search("cn=px1,ou=People," + server->suffix, LDAP_SCOPE_BASE).entries.at(0).attributes;
    EXPECT_THAT(user, Contains(Pair("objectClass", Contains("posixAccount"))));
    EXPECT_THAT(user, Contains(Pair("uidNumber", std::vector<std::string>{"40001"})));
}

// Active Directory: the RFC 2307 attributes on the user itself, the home in unixHomeDirectory, the
// number reserved from the NIS domain's msSFU30MaxUidNumber, which a fresh domain lacks.
TEST_F(SambaPosixTest, UsersCarryTheRfc2307Attributes) {
    ServerConnection view = BindAdmin();
    ASSERT_EQ(view.Add("ou=Posix," + server->baseDn, {{"objectClass", {"organizationalUnit"}}, {"ou", {"Posix"}}}),
              LDAP_SUCCESS);
    NWDSContextHandle context = 0;
    ASSERT_EQ(Client().CreateContext(&context), 0);
    ASSERT_EQ(Client().SetContext(context, kContextNameContext, "Posix.ad\\.example\\.com"), 0);
    UidBlock block;
    ASSERT_EQ(Client().ReserveUidNumbers(context, 3, UidRange{41000, 41100}, &block), 0);
    ASSERT_EQ(AddPosixUser("Posix.ad\\.example\\.com", "px", block.NumberAt(0)), 0);
    const auto user = view.Search("cn=px,ou=Posix," + server->baseDn, LDAP_SCOPE_BASE).entries.at(0).attributes;
    EXPECT_THAT(user, Contains(Pair("uidNumber", std::vector<std::string>{"41000"})));
    EXPECT_THAT(user, Contains(Pair("gidNumber", std::vector<std::string>{"4000"})));
    EXPECT_THAT(user, Contains(Pair("unixHomeDirectory", std::vector<std::string>{"/home/px"})));
    EXPECT_THAT(user, Contains(Pair("loginShell", std::vector<std::string>{"/bin/sh"})));
}
