#include "EmbeddedFixture.h"
#include "ListEntries.h"
#include "client/DottedName.h"
#include "directory/CreateUserObject.h"
#include "directory/GetIdentityName.h"
#include "directory/SharedContext.h"
#include "directory/TNDSObj.h"

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

TEST_F(EmbeddedListingTest, TypedDotsBackslashesEqualsSignsAndRootMakeOneLiteralName) {
    BindAndStart(OpenSampleStore());
    ASSERT_EQ(SetNameContext(DirContext, "Sales.Acme"), 0);
    for (const char* name : {"a.b0001", "c\\d0001", "ou=x0001", "[Root]"})
        EXPECT_TRUE(CreateUserObject(name, name));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_THAT(*view.Children("Sales.Acme"),
                ElementsAre("East", "JSmith", "Laser1", "a.b0001", "c\\d0001", "ou=x0001", "[Root]"));
    EXPECT_EQ(view.Surname("c\\\\d0001.Sales.Acme"), "c\\d0001");
    NWDSCCODE end = 0;
    const Listed listed = ListEntries("Sales.Acme", &end);
    ASSERT_EQ(listed.size(), 7u);
    // The listing hands each back as the name that names it again.
    EXPECT_EQ(listed[3].first, "a\\.b0001");
    EXPECT_EQ(listed[4].first, "c\\\\d0001");
    EXPECT_EQ(listed[5].first, "ou\\=x0001");
    EXPECT_EQ(listed[6].first, "[Root\\]");
    for (std::size_t i = 3; i < listed.size(); ++i)
        EXPECT_EQ(view.Surname(listed[i].first + ".Sales.Acme"), view.Children("Sales.Acme")->at(i)) << i;

    // The same name again, in other letters, is refused through the layer with the add's label.
    EXPECT_FALSE(CreateUserObject("A.B0001", "Again"));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code FFFFFDA2 - Trying to create userobject with NWDSAddObject"));
}

// Names the 256-byte entry area cannot hold whole (256 bytes, 128 dots that double when escaped, a
// NUL inside) and a base class too long for the object information come as entries without a
// name or a class: counted by the scan, never taken for a container, never hiding a sibling.
TEST_F(EmbeddedListingTest, EntriesThatCannotBeHandedOutComeEmptyAndInPlace) {
    StoreWriter writer(StorePath());
    ASSERT_EQ(writer.Add("Box", "Organization"), 0);
    ASSERT_EQ(writer.Add("a.Box", "User"), 0);
    ASSERT_EQ(writer.Add(std::string(256, 'L') + ".Box", "User"), 0);
    ASSERT_EQ(writer.Add(EscapeNamePart(std::string(128, '.')) + ".Box", "Organizational Unit"), 0);
    ASSERT_EQ(writer.Add(std::string("Sales\0x", 7) + ".Box", "Organizational Unit"), 0);
    ASSERT_EQ(writer.Add("Wide.Box", "Organization" + std::string(130, ' ')), 0);
    ASSERT_EQ(writer.Add(std::string(255, 'l') + ".Box", "User"), 0);
    BindAndStart(OpenStore());

    NWDSCCODE end = 0;
    const Listed listed = ListEntries("Box", &end);
    EXPECT_EQ(end, kListExhausted);
    EXPECT_THAT(listed, ElementsAre(Pair("a", "User"), Pair("", ""), Pair("", ""), Pair("", ""), Pair("", ""),
                                    Pair(std::string(255, 'l'), "User")));
}

TEST_F(EmbeddedListingTest, BufferOperationsAnswerWhenTheBufferWasPreparedForAnother) {
    ASSERT_EQ(AddEntry("Acme", "Organization"), 0);
    ASSERT_EQ(AddEntry("u.Acme", "User", std::string("S")), 0);
    auto client = OpenStore();
    NWDSContextHandle context = 0;
    NWBufHandle buffer = 0;
    ASSERT_EQ(client->CreateContext(&context), 0);
    ASSERT_EQ(client->SetContext(context, kContextNameContext, "Acme"), 0);
    ASSERT_EQ(client->NWDSAllocBuf(kBufferSize, &buffer), 0);
    std::uint32_t count = 0;
    std::array<char, kEntryNameSize> name{};
    std::uint32_t attributes = 0;
    ObjectInfoArea info{};
    std::int32_t iteration = kNoMoreIterations;

    // Not prepared at all.
    EXPECT_EQ(client->GetObjectCount(context, buffer, &count), rc::kWrongOperation);
    EXPECT_EQ(client->GetObjectName(context, buffer, name.data(), &attributes, &info), rc::kWrongOperation);
    // Prepared for an add, holding two attributes: no entries to read from it.
    ASSERT_EQ(client->NWDSInitBuf(context, kOperationAddEntry, buffer), 0);
    ASSERT_EQ(client->NWDSPutAttrNameAndVal(context, buffer, "Object Class", kSyntaxClassName, "User"), 0);
    ASSERT_EQ(client->NWDSPutAttrNameAndVal(context, buffer, "Surname", kSyntaxCaseIgnoreString, "S"), 0);
    EXPECT_EQ(client->GetObjectCount(context, buffer, &count), rc::kWrongOperation);
    EXPECT_EQ(client->GetObjectName(context, buffer, name.data(), &attributes, &info), rc::kWrongOperation);
    // Holding results: nothing to add from it.
    ASSERT_EQ(client->ListSubordinates(context, ".Acme", &iteration, buffer), 0);
    EXPECT_EQ(client->NWDSPutAttrNameAndVal(context, buffer, "Surname", kSyntaxCaseIgnoreString, "S"),
              rc::kWrongOperation);
    EXPECT_EQ(client->NWDSAddObject(context, "v", &iteration, 0, buffer), rc::kWrongOperation);
    ASSERT_EQ(client->GetObjectName(context, buffer, name.data(), &attributes, &info), 0);
    EXPECT_STREQ(name.data(), "u");
    // Prepared for another operation.
    ASSERT_EQ(client->NWDSInitBuf(context, 5, buffer), 0);
    EXPECT_EQ(client->NWDSPutAttrNameAndVal(context, buffer, "Surname", kSyntaxCaseIgnoreString, "S"),
              rc::kWrongOperation);
    EXPECT_EQ(client->NWDSAddObject(context, "v", &iteration, 0, buffer), rc::kWrongOperation);
    EXPECT_EQ(view.Children("Acme")->size(), 1u);
}
