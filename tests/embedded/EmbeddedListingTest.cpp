#include "CreateUserObject.h"
#include "EmbeddedFixture.h"
#include "GetIdentityName.h"
#include "ListEntries.h"
#include "SharedContext.h"
#include "TNDSObj.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <utility>

using ::testing::ElementsAre;
using ::testing::Pair;

namespace {
using Listed = std::vector<std::pair<std::string, std::string>>;

std::string Numbered(const char* prefix, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d", prefix, index);
    return name;
}
} // namespace

using EmbeddedListingTest = EmbeddedTest;

TEST_F(EmbeddedListingTest, ThousandEntriesComeOnceEachInCreationOrderOverSeveralBatches) {
    StoreWriter writer(StorePath());
    ASSERT_EQ(writer.Add("Big", "Organization"), 0);
    Listed expected;
    for (int i = 1; i <= 1000; ++i) {
        // Names that sort otherwise than they were created, and some containers among them.
        const std::string name = Numbered(i % 2 ? "z" : "a", i);
        const char* baseClass = i % 10 == 0 ? "Organizational Unit" : "User";
        ASSERT_EQ(writer.Add(name + ".Big", baseClass), 0);
        expected.emplace_back(name, baseClass);
    }
    BindAndStart(OpenStore());

    NWDSCCODE end = 0;
    const Listed listed = ListEntries("Big", &end);
    EXPECT_EQ(end, kListExhausted);
    EXPECT_EQ(listed, expected);
    // ListNext lets messages run before each of the 999 entries it reads and once per used-up batch.
    const int batches = ui.pumps - 999;
    EXPECT_GE(batches, 3);
}

TEST_F(EmbeddedListingTest, IterationHandleWalksBatchesThatFitTheBuffer) {
    StoreWriter writer(StorePath());
    ASSERT_EQ(writer.Add("Big", "Organization"), 0);
    for (int i = 1; i <= 300; ++i)
        ASSERT_EQ(writer.Add(Numbered("user", i) + ".Big", "User"), 0);
    auto client = OpenStore();
    NWDSContextHandle context = 0;
    NWBufHandle buffer = 0;
    ASSERT_EQ(client->CreateContext(&context), 0);
    ASSERT_EQ(client->NWDSAllocBuf(kBufferSize, &buffer), 0);

    std::int32_t handle = kNoMoreIterations;
    std::vector<std::uint32_t> batchSizes;
    int next = 1;
    do {
        ASSERT_EQ(client->ListSubordinates(context, ".Big", &handle, buffer), 0);
        std::uint32_t count = 0;
        ASSERT_EQ(client->GetObjectCount(context, buffer, &count), 0);
        batchSizes.push_back(count);
        std::array<char, kEntryNameSize> name{};
        std::uint32_t attributes = 0;
        ObjectInfoArea info{};
        for (std::uint32_t i = 0; i < count; ++i) {
            ASSERT_EQ(client->GetObjectName(context, buffer, name.data(), &attributes, &info), 0);
            EXPECT_EQ(std::string(name.data()), Numbered("user", next++));
            EXPECT_STREQ(info.data() + kBaseClassOffset, "User");
        }
        EXPECT_EQ(client->GetObjectName(context, buffer, name.data(), &attributes, &info), rc::kNoMoreEntries);
    } while (handle != kNoMoreIterations && batchSizes.size() < 100);
    EXPECT_EQ(next, 301);
    EXPECT_GT(batchSizes.size(), 1u);

    // An empty container is one empty batch; a missing one is an error and leaves the handle alone.
    ASSERT_EQ(writer.Add("Empty", "Organization"), 0);
    handle = kNoMoreIterations;
    std::uint32_t count = 99;
    EXPECT_EQ(client->ListSubordinates(context, ".Empty", &handle, buffer), 0);
    EXPECT_EQ(client->GetObjectCount(context, buffer, &count), 0);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(handle, kNoMoreIterations);
    EXPECT_EQ(client->ListSubordinates(context, ".Missing", &handle, buffer), rc::kNoSuchEntry);
    EXPECT_EQ(client->ListSubordinates(context, "a..b", &handle, buffer), rc::kIllegalName);
}

TEST_F(EmbeddedListingTest, ScanOfTheSampleTreeFromTheTop) {
    BindAndStart(OpenSampleStore());
    EXPECT_EQ(GetIdentityName(DirContext), "Admin.Acme");
    NWDSCCODE end = 0;
    EXPECT_THAT(ListEntries(kRootName, &end), ElementsAre(Pair("Acme", "Organization"), Pair("US", "Country")));
    EXPECT_EQ(end, kListExhausted);
    EXPECT_THAT(ListEntries("Sales.Acme", &end),
                ElementsAre(Pair("East", "Organizational Unit"), Pair("JSmith", "User"), Pair("Laser1", "Printer")));
    // An empty container: the first read fails with the client's code, not -1.
    EXPECT_TRUE(ListEntries("East.Sales.Acme", &end).empty());
    EXPECT_EQ(end, rc::kNoMoreEntries);
    EXPECT_TRUE(ListEntries("Nowhere", &end).empty());
    EXPECT_EQ(end, rc::kNoSuchEntry);
}

TEST_F(EmbeddedListingTest, TypedDotsAndBackslashesMakeOneLiteralName) {
    BindAndStart(OpenSampleStore());
    ASSERT_EQ(SetNameContext(DirContext, "Sales.Acme"), 0);
    EXPECT_TRUE(CreateUserObject("a.b0001", "Dotted"));
    EXPECT_TRUE(CreateUserObject("c\\d0001", "Slashed"));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_THAT(*view.Children("Sales.Acme"), ElementsAre("East", "JSmith", "Laser1", "a.b0001", "c\\d0001"));
    EXPECT_EQ(view.Surname("a\\.b0001.Sales.Acme"), "Dotted");
    EXPECT_EQ(view.Surname("c\\\\d0001.Sales.Acme"), "Slashed");
    NWDSCCODE end = 0;
    const Listed listed = ListEntries("Sales.Acme", &end);
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(listed[3].first, "a\\.b0001");
    EXPECT_EQ(listed[4].first, "c\\\\d0001");

    // The same name again, in other letters, is refused through the layer with the add's label.
    EXPECT_FALSE(CreateUserObject("A.B0001", "Again"));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code FFFFFDA2 - Trying to create userobject with NWDSAddObject"));
}

TEST_F(EmbeddedListingTest, NameTooLongForTheEntryAreaNeverHidesItsSiblings) {
    ASSERT_EQ(AddEntry("Box", "Organization"), 0);
    ASSERT_EQ(AddEntry("a.Box", "User"), 0);
    BindAndStart(OpenStore());
    ASSERT_EQ(SetNameContext(DirContext, "Box"), 0);
    // Both fit the add, but not the 256-byte name area of a listing (the second once escaped).
    ASSERT_TRUE(CreateUserObject(std::string(256, 'L'), "S"));
    ASSERT_TRUE(CreateUserObject(std::string(200, '.') + "0001", "S"));
    ASSERT_TRUE(CreateUserObject("b", "S"));

    NWDSCCODE end = 0;
    EXPECT_THAT(ListEntries("Box", &end), ElementsAre(Pair("a", "User"), Pair("b", "User")));
    EXPECT_EQ(end, kListExhausted);
}
