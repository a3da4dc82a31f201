// A batch disabled, enabled and removed on slapd with the password policy overlay, beside decoys it
// must leave alone.
#include "BatchTree.h"
#include "LdapDirectoryFixture.h"
#include "UserBind.h"

#include <gmock/gmock.h>

class LdapBatchTest : public LdapDirectoryTest {};

TEST_F(LdapBatchTest, OnlyTheBatchIsDisabledEnabledAndRemoved) {
    LoadPasswordPolicy(false);
    BindAndStart(AdminSettings());
    ServerConnection view = View();
    // The overlay honours a lock only where the user's policy has pwdLockout.
    EXPECT_EQ(view.Replace(kDefaultPolicyDn, "pwdLockout", {"TRUE"}), LDAP_SUCCESS);
    const BatchTree tree = MakeBatchTree(view, "o=Acme", "Acme",
                                         {{{"objectClass", {"device"}}},
                                          {{"objectClass", {"inetOrgPerson"}}, {"sn", {"Holder"}}},
                                          {{"objectClass", {"device"}}}},
                                         "Abc12345");
    ExpectOnlyTheBatchIsTouched(view, tree, [&](const std::string& dn, const std::string& password) {
        return BindAsUser(server.ldapiUri, "", dn, password).code;
    });
    EXPECT_THAT(ui.messages, ::testing::IsEmpty());
}
