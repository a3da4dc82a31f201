#include "BatchTree.h"

#include "FixtureSuite.h"

#include "directory/AccountBatch.h"
#include "directory/CreateUserObject.h"
#include "directory/SharedContext.h"

#include <gmock/gmock.h>

#include <algorithm>

using ::testing::ElementsAre;

namespace {
std::vector<int> Binds(const std::vector<std::string>& dns, const std::string& password,
                       const std::function<int(const std::string&, const std::string&)>& bind) {
    std::vector<int> codes;
    for (const std::string& dn : dns)
        codes.push_back(bind(dn, password));
    return codes;
}

std::vector<std::string> Lower(std::vector<std::string> dns) {
    for (std::string& dn : dns)
        std::transform(dn.begin(), dn.end(), dn.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::sort(dns.begin(), dns.end());
    return dns;
}
} // namespace

BatchTree MakeBatchTree(ServerConnection& view, const std::string& base, const std::string& topDotted,
                        const BatchDecoyClasses& classes, const std::string& password) {
    BatchTree tree;
    tree.containerDn = "ou=Class," + base;
    tree.dotted = "Class." + topDotted;
    tree.password = password;
    const std::string sub = "ou=Sub," + tree.containerDn;
    const std::string holder = "cn=stud0006," + tree.containerDn;
    const auto add = [&](const std::string& dn, Attributes attributes, const char* type, const char* value) {
        attributes[type] = {value};
        EXPECT_EQ(view.Add(dn, attributes), 0) << dn;
    };
    add(tree.containerDn, {{"objectClass", {"organizationalUnit"}}}, "ou", "Class");
    add(sub, {{"objectClass", {"organizationalUnit"}}}, "ou", "Sub");
    add("cn=stud0005," + tree.containerDn, classes.other, "cn", "stud0005");
    add(holder, classes.holder, "cn", "stud0006");
    add("cn=child," + holder, classes.child, "cn", "child");
    tree.decoys = {"cn=stud0001a," + tree.containerDn, "cn=stud0007," + tree.containerDn};
    if (classes.subEntry.empty())
        tree.decoys.push_back("cn=stud0002," + sub);
    else
        add("cn=stud0002," + sub, classes.subEntry, "cn", "stud0002");
    for (const char* name : {"stud0001", "stud0002", "stud0004"})
        tree.batch.push_back(std::string("cn=") + name + "," + tree.containerDn);

    std::vector<std::string> users = tree.decoys;
    users.insert(users.end(), tree.batch.begin(), tree.batch.end());
    for (const std::string& dn : users) {
        const std::string container = dn.find(",ou=Sub,") == std::string::npos ? "Class." : "Sub.Class.";
        LastDirResult = SetNameContext(DirContext, container + topDotted);
        EXPECT_TRUE(CreateUserObject(dn.substr(3, dn.find(',') - 3), "Student", InitialPassword{password, false}));
    }
    return tree;
}

void ExpectOnlyTheBatchIsTouched(ServerConnection& view, const BatchTree& tree,
                                 const std::function<int(const std::string& dn, const std::string& password)>& bind) {
    const auto before = Lower(SortedDns(view.Search(tree.containerDn, LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"})));
    ASSERT_EQ(before.size(), 11u);
    AccountBatch disable(BatchAction::Disable, {tree.dotted, "stud", 1, 6, 4});
    ASSERT_TRUE(disable.Read());
    EXPECT_THAT(disable.Preview().targets, ElementsAre("stud0001", "stud0002", "stud0004"));
    EXPECT_THAT(disable.Preview().missing, ElementsAre("stud0003"));
    ASSERT_EQ(disable.Preview().skipped.size(), 2u);
    EXPECT_EQ(disable.Preview().skipped[1].reason, "holds entries of its own");

    ASSERT_TRUE(disable.Run({}));
    ASSERT_EQ(disable.Done().size(), 3u);
    EXPECT_EQ(Lower({disable.Done()[0].directoryName}), Lower({tree.batch[0]})); // as the saved list shows it
    for (const int code : Binds(tree.batch, tree.password, bind))
        EXPECT_NE(code, LDAP_SUCCESS);
    EXPECT_EQ(Binds(tree.decoys, tree.password, bind), std::vector<int>(tree.decoys.size(), 0));

    AccountBatch enable(BatchAction::Enable, {tree.dotted, "stud", 1, 6, 4});
    ASSERT_TRUE(enable.Read());
    ASSERT_TRUE(enable.Run({}));
    EXPECT_THAT(Binds(tree.batch, tree.password, bind), ElementsAre(0, 0, 0));

    AccountBatch remove(BatchAction::Remove, {tree.dotted, "stud", 1, 6, 4});
    ASSERT_TRUE(remove.Read());
    ASSERT_TRUE(remove.Run({}));
    auto expected = before;
    for (const std::string& dn : Lower(tree.batch))
        expected.erase(std::find(expected.begin(), expected.end(), dn));
    EXPECT_EQ(Lower(SortedDns(view.Search(tree.containerDn, LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"}))),
              expected);
    EXPECT_EQ(Binds(tree.decoys, tree.password, bind), std::vector<int>(tree.decoys.size(), 0));
}
