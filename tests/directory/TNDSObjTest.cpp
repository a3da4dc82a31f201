#include "directory/TNDSObj.h"
#include "DirectoryFixture.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using TNDSObjTest = DirectoryFixture;

namespace {
std::vector<std::string> Without(const std::vector<std::string>& calls, const std::string& prefix) {
    std::vector<std::string> kept;
    for (const auto& c : calls)
        if (c.rfind(prefix, 0) != 0)
            kept.push_back(c);
    return kept;
}
} // namespace

TEST_F(TNDSObjTest, ListFirstFormsTheListingNameAndConfiguresItsOwnContext) {
    struct Case {
        std::string given, nameContext, listed;
    };
    for (const Case& c : {Case{"Acme", "Acme", ".Acme"}, Case{".Sales.Acme", "Sales.Acme", ".Sales.Acme"},
                          Case{"[Root]", "[Root]", ".[Root]"}, Case{"", "", "."}}) {
        client->calls.clear();
        client->nextContext = 100;
        client->nextBuffer = 200;
        client->batches = {{{"Sales", "Organizational Unit"}}};
        TNDSObj obj;
        ASSERT_EQ(ListFirst(c.given, obj), 0) << c.given;
        EXPECT_THAT(client->calls,
                    ElementsAre("CreateContext->100", "GetContext(100,1)", "SetContext(100,1,20)",
                                "SetContext(100,2,0)", "SetContext(100,3," + c.nameContext + ")", "AllocBuf(4096)->200",
                                "List(100," + c.listed + ",-1,200)", "Count(100,200)", "Read(100,200)"))
            << c.given;
        EXPECT_EQ(obj.ContainerName, c.listed);
        EXPECT_EQ(obj.EntryName, "Sales");
        EXPECT_EQ(obj.BaseClass(), "Organizational Unit");
        EXPECT_EQ(ui.pumps, 0);
    }
}

TEST_F(TNDSObjTest, OneBatchOfThreeThenExhaustedReleasingBufferBeforeContext) {
    client->batches = {{{"A", "Organization"}, {"B", "User"}, {"C", "Country"}}};
    TNDSObj obj;
    ASSERT_EQ(ListFirst("[Root]", obj), 0);
    EXPECT_EQ(obj.EntryName, "A");
    ASSERT_EQ(ListNext(obj), 0);
    EXPECT_EQ(obj.EntryName, "B");
    EXPECT_EQ(obj.BaseClass(), "User");
    ASSERT_EQ(ListNext(obj), 0);
    EXPECT_EQ(obj.EntryName, "C");
    client->calls.clear();
    EXPECT_EQ(ListNext(obj), -1);
    EXPECT_THAT(client->calls, ElementsAre("Pump", "FreeBuf(200)", "FreeContext(100)"));
    EXPECT_EQ(obj.Context, 0u);
    EXPECT_EQ(obj.Buffer, 0u);
    EXPECT_EQ(ui.pumps, 3); // once before each entry ListNext read, once when the batch was used up
}

TEST_F(TNDSObjTest, SecondBatchIsFetchedWhenTheFirstIsUsedUp) {
    client->batches = {{{"A", "Organization"}}, {{"B", "Organization"}, {"C", "Organization"}}};
    TNDSObj obj;
    ASSERT_EQ(ListFirst("Acme", obj), 0);
    client->calls.clear();
    ASSERT_EQ(ListNext(obj), 0);
    EXPECT_EQ(obj.EntryName, "B");
    EXPECT_THAT(client->calls, ElementsAre("Pump", "List(100,.Acme,7,200)", "Count(100,200)", "Pump", "Read(100,200)"));
    ASSERT_EQ(ListNext(obj), 0);
    EXPECT_EQ(obj.EntryName, "C");
    EXPECT_EQ(ListNext(obj), -1);
}

TEST_F(TNDSObjTest, EmptyBatchesNeverYieldARepeatedEntry) {
    // An empty batch in the middle is skipped; an empty last batch ends the listing.
    client->batches = {{{"A", "Organization"}}, {}, {{"B", "Organization"}}, {}};
    TNDSObj obj;
    ASSERT_EQ(ListFirst("Acme", obj), 0);
    std::vector<std::string> names{obj.EntryName};
    NWDSCCODE result;
    while ((result = ListNext(obj)) == 0)
        names.push_back(obj.EntryName);
    EXPECT_EQ(result, -1);
    EXPECT_THAT(names, ElementsAre("A", "B"));
    EXPECT_EQ(obj.Context, 0u);
    EXPECT_EQ(obj.Buffer, 0u);
}

TEST_F(TNDSObjTest, EmptyContainerEndsListFirstWithTheReadFailure) {
    client->batches = {{}};
    TNDSObj obj;
    EXPECT_EQ(ListFirst("East.Sales.Acme", obj), -307);
    EXPECT_EQ(obj.EntryName, "");
    EXPECT_THAT(Without(client->calls, "SetContext"),
                ElementsAre("CreateContext->100", "GetContext(100,1)", "AllocBuf(4096)->200",
                            "List(100,.East.Sales.Acme,-1,200)", "Count(100,200)", "Read(100,200)", "FreeBuf(200)",
                            "FreeContext(100)"));
}

TEST_F(TNDSObjTest, ReadFailureInTheMiddleIsReturnedAndReleases) {
    client->batches = {{{"A", "Organization"}, {"B", "Organization"}}};
    client->results["Read"] = {0, 0x99};
    TNDSObj obj;
    ASSERT_EQ(ListFirst("Acme", obj), 0);
    client->calls.clear();
    EXPECT_EQ(ListNext(obj), 0x99);
    EXPECT_EQ(obj.EntryName, "");
    EXPECT_THAT(client->calls, ElementsAre("Pump", "Read(100,200)", "FreeBuf(200)", "FreeContext(100)"));
}

TEST_F(TNDSObjTest, StartFailuresReleaseWhatWasTaken) {
    client->results["CreateContext"] = {0x12};
    TNDSObj obj;
    EXPECT_EQ(ListFirst("Acme", obj), 0x12);
    EXPECT_THAT(client->calls, ElementsAre("CreateContext->100"));

    client->calls.clear();
    client->results["AllocBuf"] = {0x13};
    EXPECT_EQ(ListFirst("Acme", obj), 0x13);
    EXPECT_EQ(client->calls.back(), "FreeContext(101)");

    client->calls.clear();
    client->results["List"] = {0x14};
    EXPECT_EQ(ListFirst("Acme", obj), 0x14);
    EXPECT_THAT(std::vector<std::string>(client->calls.end() - 2, client->calls.end()),
                ElementsAre("FreeBuf(201)", "FreeContext(102)"));
}

TEST_F(TNDSObjTest, AbandonedCursorGivesBackItsResources) {
    client->batches = {{{"A", "Organization"}, {"B", "Organization"}}};
    {
        TNDSObj obj;
        ASSERT_EQ(ListFirst("Acme", obj), 0);
        client->calls.clear();
    }
    EXPECT_THAT(client->calls, ElementsAre("FreeBuf(200)", "FreeContext(100)"));
}
