#include "directory/TreeWalk.h"
#include "DirectoryFixture.h"
#include "client/SchemaNames.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {
// Notes what the walk reports; walks every container; can ask to stop after some entries.
class RecordingVisitor final : public TreeWalkVisitor {
public:
    std::vector<std::string> events;
    int entries = 0;
    int stopAfterEntries = -1;

    void ListingStarts(const WalkedContainer& container) override {
        events.push_back("start " + container.name + " #" + std::to_string(container.id) + " level " +
                         std::to_string(container.level) + " result " + std::to_string(LastDirResult));
    }
    bool EntryListed(const WalkedContainer& container, std::string_view name, std::string_view baseClass) override {
        ++entries;
        events.push_back("  " + container.name + ": " + std::string(name) + " (" + std::string(baseClass) + ")");
        return IsContainerClass(baseClass);
    }
    void ListingEnded(const WalkedContainer& container, NWDSCCODE code) override {
        events.push_back("end " + container.name + " " + std::to_string(code));
    }
    bool StopRequested() override { return stopAfterEntries >= 0 && entries >= stopAfterEntries; }
};

std::vector<std::string> Calls(const std::vector<std::string>& calls, const std::string& prefix) {
    std::vector<std::string> kept;
    for (const auto& call : calls)
        if (call.rfind(prefix, 0) == 0)
            kept.push_back(call);
    return kept;
}

class TreeWalkTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        DirContext = 42;
        client->containers = {
            {".[Root]", {{"Acme", "Organization"}, {"Admin", "User"}, {"US", "Country"}}},
            {".Acme", {{"Sales", "Organizational Unit"}, {"Dev", "Organizational Unit"}}},
            {".Sales.Acme", {{"East", "Organizational Unit"}}},
            {".Dev.Acme", {{"x", "User"}}},
        };
    }
    RecordingVisitor visitor;
};
} // namespace

TEST_F(TreeWalkTest, WalksDepthFirstInListingOrderUnderTheScansNames) {
    EXPECT_TRUE(WalkTree(visitor));
    EXPECT_THAT(visitor.events,
                ElementsAre("start [Root] #0 level 0 result 0", "  [Root]: Acme (Organization)",
                            "  [Root]: Admin (User)", "  [Root]: US (Country)", "end [Root] -1",
                            "start Acme #1 level 1 result 0", "  Acme: Sales (Organizational Unit)",
                            "  Acme: Dev (Organizational Unit)", "end Acme -1", "start .Sales.Acme #3 level 2 result 0",
                            "  .Sales.Acme: East (Organizational Unit)", "end .Sales.Acme -1",
                            "start .East.Sales.Acme #5 level 3 result 0", "end .East.Sales.Acme -307",
                            "start .Dev.Acme #4 level 2 result 0", "  .Dev.Acme: x (User)", "end .Dev.Acme -1",
                            "start US #2 level 1 result 0", "end US -307"));
    // DirContext names each container before its own cursor lists it.
    EXPECT_THAT(Calls(client->calls, "SetContext(42,3,"),
                ElementsAre("SetContext(42,3,[Root])", "SetContext(42,3,Acme)", "SetContext(42,3,.Sales.Acme)",
                            "SetContext(42,3,.East.Sales.Acme)", "SetContext(42,3,.Dev.Acme)", "SetContext(42,3,US)"));
    EXPECT_EQ(LastDirResult, -307); // the end of the last listing
    EXPECT_EQ(Calls(client->calls, "CreateContext").size(), Calls(client->calls, "FreeContext").size());
    EXPECT_EQ(Calls(client->calls, "AllocBuf").size(), Calls(client->calls, "FreeBuf").size());
}

TEST_F(TreeWalkTest, FailuresGoToLastDirResultAndAFailedListingEndsOnlyItsContainer) {
    client->results["SetContext"] = {0x21}; // DirContext's first name context
    client->results["List"] = {0, 0x9A};    // Acme's listing
    EXPECT_TRUE(WalkTree(visitor));
    EXPECT_THAT(visitor.events, ElementsAre("start [Root] #0 level 0 result 33", "  [Root]: Acme (Organization)",
                                            "  [Root]: Admin (User)", "  [Root]: US (Country)", "end [Root] -1",
                                            "start Acme #1 level 1 result 0", "end Acme 154",
                                            "start US #2 level 1 result 0", "end US -307"));
}

TEST_F(TreeWalkTest, StopEndsTheWalkAtOnceAndTheCursorGivesBackItsResources) {
    visitor.stopAfterEntries = 2;
    EXPECT_FALSE(WalkTree(visitor));
    EXPECT_THAT(visitor.events, ElementsAre("start [Root] #0 level 0 result 0", "  [Root]: Acme (Organization)",
                                            "  [Root]: Admin (User)"));
    // The third entry was read when the stop came; nothing is listed after it.
    EXPECT_THAT(std::vector<std::string>(client->calls.end() - 3, client->calls.end()),
                ElementsAre("Read(100,200)", "FreeBuf(200)", "FreeContext(100)"));

    client->calls.clear();
    visitor.stopAfterEntries = 0;
    EXPECT_FALSE(WalkTree(visitor));
    EXPECT_TRUE(client->calls.empty());
}
