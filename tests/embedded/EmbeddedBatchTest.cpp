// A batch disabled, enabled and removed in a store that holds decoys beside it: only the batch is
// touched, as the store's file and its logins show.
#include "EmbeddedFixture.h"
#include "client/BoundClient.h"
#include "client/SchemaNames.h"
#include "directory/AccountBatch.h"
#include "directory/CreateUserObject.h"
#include "directory/SharedContext.h"

#include <gmock/gmock.h>

#include <ctime>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
constexpr const char* kPassword = "Abc12345";
} // namespace

class EmbeddedBatchTest : public EmbeddedTest {
protected:
    // Class.School: the batch stud0001, stud0002, stud0004 (stud0003 missing), a longer name with the
    // prefix, another class and a container with matching names, one beyond the range, and a
    // sub-container holding a matching name. Every User has the password kPassword.
    void SetUp() override {
        StoreWriter writer(StorePath());
        ASSERT_EQ(writer.Add("School", kOrganizationClass), 0);
        ASSERT_EQ(writer.Add("Class.School", kOrganizationalUnitClass), 0);
        ASSERT_EQ(writer.Add("Sub.Class.School", kOrganizationalUnitClass), 0);
        ASSERT_EQ(writer.Add("stud0005.Class.School", "Printer"), 0);
        ASSERT_EQ(writer.Add("stud0006.Class.School", kOrganizationalUnitClass), 0);
        BindAndStart(OpenStore());
        const char* users[] = {"Class.School",          "stud0001", "Class.School",     "stud0002",
                               "Class.School",          "stud0004", "Class.School",     "stud0001a",
                               "Class.School",          "stud0007", "Sub.Class.School", "stud0002",
                               "stud0006.Class.School", "stud0001"};
        for (std::size_t i = 0; i < std::size(users); i += 2) {
            LastDirResult = SetNameContext(DirContext, users[i]);
            ASSERT_TRUE(CreateUserObject(users[i + 1], "Student", InitialPassword{kPassword, false}));
        }
    }

    // Logins through a client of its own on the same file, as another program would log in.
    std::vector<NWDSCCODE> Logins(const std::vector<std::string>& names) {
        std::vector<NWDSCCODE> codes;
        for (const std::string& name : names)
            codes.push_back(OpenStore()->Login(name, kPassword));
        return codes;
    }

    static AccountBatch Batch(BatchAction action) { return AccountBatch(action, {"Class.School", "stud", 1, 6, 4}); }

    const std::vector<std::string> batch_{"stud0001.Class.School", "stud0002.Class.School", "stud0004.Class.School"};
    const std::vector<std::string> decoys_{"stud0001a.Class.School", "stud0007.Class.School",
                                           "stud0002.Sub.Class.School", "stud0001.stud0006.Class.School"};
};

TEST_F(EmbeddedBatchTest, OnlyTheBatchIsDisabledEnabledAndRemoved) {
    AccountBatch disable = Batch(BatchAction::Disable);
    ASSERT_TRUE(disable.Read());
    EXPECT_THAT(disable.Preview().targets, ElementsAre("stud0001", "stud0002", "stud0004"));
    EXPECT_THAT(disable.Preview().missing, ElementsAre("stud0003"));
    EXPECT_EQ(disable.Preview().skipped.size(), 2u); // stud0005, stud0006

    std::vector<std::size_t> progress;
    ASSERT_TRUE(disable.Run([&](std::size_t done) { progress.push_back(done); }));
    EXPECT_THAT(progress, ElementsAre(1u, 2u, 3u));
    ASSERT_EQ(disable.Done().size(), 3u);
    EXPECT_EQ(disable.Done()[2].directoryName, "stud0004.Class.School");
    EXPECT_THAT(Logins(batch_), ElementsAre(rc::kLoginDisabled, rc::kLoginDisabled, rc::kLoginDisabled));
    EXPECT_THAT(Logins(decoys_), ElementsAre(0, 0, 0, 0));

    AccountBatch enable = Batch(BatchAction::Enable);
    ASSERT_TRUE(enable.Read());
    ASSERT_TRUE(enable.Run({}));
    EXPECT_THAT(Logins(batch_), ElementsAre(0, 0, 0));

    AccountBatch remove = Batch(BatchAction::Remove);
    ASSERT_TRUE(remove.Read());
    ASSERT_TRUE(remove.Run({}));
    EXPECT_THAT(*view.Children("Class.School"), ElementsAre("Sub", "stud0005", "stud0006", "stud0001a", "stud0007"));
    EXPECT_THAT(*view.Children("Sub.Class.School"), ElementsAre("stud0002"));
    EXPECT_THAT(ui.messages, IsEmpty());
}

// The first failure ends the run with the store's code: the users before it done, those after untouched.
TEST_F(EmbeddedBatchTest, RunStopsAtTheFirstFailure) {
    AccountBatch disable = Batch(BatchAction::Disable);
    ASSERT_TRUE(disable.Read());
    // Gone between the preview and the run.
    ASSERT_EQ(Client().RemoveEntry(DirContext, ".stud0002.Class.School"), 0);
    EXPECT_FALSE(disable.Run({}));
    ASSERT_EQ(disable.Done().size(), 1u);
    EXPECT_THAT(ui.messages, ElementsAre("Error Code FFFFFDA7 - Trying to disable userobject with SetLoginDisabled"));
    EXPECT_THAT(Logins({"stud0001.Class.School", "stud0004.Class.School"}), ElementsAre(rc::kLoginDisabled, 0));
}

// An expiry set with the user: its logins are refused from that second on.
TEST_F(EmbeddedBatchTest, ExpiredUsersCannotLogIn) {
    auto client = OpenStore();
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    for (const auto& [name, expires] : {std::pair{"past", now - 1}, std::pair{"future", now + 86400}})
        ASSERT_EQ(AddObject(*client, "Class.School", name,
                            {{kObjectClassAttribute, kSyntaxClassName, kUserClass},
                             {kSurnameAttribute, kSyntaxCaseIgnoreString, "Student"},
                             {kPasswordAttribute, kSyntaxOctetString, kPassword},
                             {kLoginExpirationTimeAttribute, kSyntaxTime, std::to_string(expires)}}),
                  0);
    EXPECT_THAT(Logins({"past.Class.School", "future.Class.School"}), ElementsAre(rc::kAccountExpired, 0));
}
