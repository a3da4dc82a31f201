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

AccountBatch Batch(const BatchTree& tree, BatchAction action) {
    return AccountBatch(action, {tree.dotted, "stud", 1, 6, 4});
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
    EXPECT_EQ(view.Add(tree.containerDn, {{"objectClass", {"organizationalUnit"}}, {"ou", {"Class"}}}), 0);
    EXPECT_EQ(view.Add(sub, {{"objectClass", {"organizationalUnit"}}, {"ou", {"Sub"}}}), 0);
    Attributes other = classes.other;
    other["cn"] = {"stud0005"};
    EXPECT_EQ(view.Add("cn=stud0005," + tree.containerDn, other), 0);
    Attributes holding = classes.holder;
    holding["cn"] = {"stud0006"};
    EXPECT_EQ(view.Add(holder, holding), 0);
    Attributes child = classes.child;
    child["cn"] = {"child"};
    EXPECT_EQ(view.Add("cn=child," + holder, child), 0);

    std::vector<std::pair<std::string, std::string>> users{{"Class", "stud0001"},
                                                           {"Class", "stud0002"},
                                                           {"Class", "stud0004"},
                                                           {"Class", "stud0001a"},
                                                           {"Class", "stud0007"}};
    if (classes.subEntry.empty())
        users.emplace_back("Sub.Class", "stud0002");
    for (const auto& [container, name] : users) {
        LastDirResult = SetNameContext(DirContext, container + "." + topDotted);
        EXPECT_TRUE(CreateUserObject(name, "Student", InitialPassword{password, false})) << name;
    }
    for (const char* name : {"stud0001", "stud0002", "stud0004"})
        tree.batch.push_back(std::string("cn=") + name + "," + tree.containerDn);
    tree.decoys = {"cn=stud0001a," + tree.containerDn, "cn=stud0007," + tree.containerDn};
    if (classes.subEntry.empty()) {
        tree.decoys.push_back("cn=stud0002," + sub);
    } else {
        Attributes subEntry = classes.subEntry;
        subEntry["cn"] = {"stud0002"};
        EXPECT_EQ(view.Add("cn=stud0002," + sub, subEntry), 0);
    }
    return tree;
}

void ExpectOnlyTheBatchIsTouched(ServerConnection& view, const BatchTree& tree,
                                 const std::function<int(const std::string& dn, const std::string& password)>& bind) {
    const auto before = Lower(SortedDns(view.Search(tree.containerDn, LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"})));
    ASSERT_EQ(before.size(), 11u);
    AccountBatch disable = Batch(tree, BatchAction::Disable);
    ASSERT_TRUE(disable.Read());
    EXPECT_THAT(disable.Preview().targets, ElementsAre("stud0001", "stud0002", "stud0004"));
    EXPECT_THAT(disable.Preview().missing, ElementsAre("stud0003"));
    ASSERT_EQ(disable.Preview().skipped.size(), 2u);
    EXPECT_EQ(disable.Preview().skipped[1].reason, "holds entries of its own");

    ASSERT_TRUE(disable.Run({}));
    ASSERT_EQ(disable.Done().size(), 3u);
    EXPECT_EQ(Lower({disable.Done()[0].directoryName}), Lower({tree.batch[0]}));
    for (const int code : Binds(tree.batch, tree.password, bind))
        EXPECT_NE(code, LDAP_SUCCESS);
    EXPECT_EQ(Binds(tree.decoys, tree.password, bind), std::vector<int>(tree.decoys.size(), 0));

    AccountBatch enable = Batch(tree, BatchAction::Enable);
    ASSERT_TRUE(enable.Read());
    ASSERT_TRUE(enable.Run({}));
    EXPECT_THAT(Binds(tree.batch, tree.password, bind), ElementsAre(0, 0, 0));

    AccountBatch remove = Batch(tree, BatchAction::Remove);
    ASSERT_TRUE(remove.Read());
    ASSERT_TRUE(remove.Run({}));
    auto expected = before;
    for (const std::string& dn : Lower(tree.batch))
        expected.erase(std::find(expected.begin(), expected.end(), dn));
    EXPECT_EQ(Lower(SortedDns(view.Search(tree.containerDn, LDAP_SCOPE_SUBTREE, "(objectClass=*)", {"1.1"}))),
              expected);
    EXPECT_EQ(Binds(tree.decoys, tree.password, bind), std::vector<int>(tree.decoys.size(), 0));
}
