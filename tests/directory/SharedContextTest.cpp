#include "DirectoryFixture.h"
#include "directory/CheckNDSError.h"
#include "directory/DirectoryStartUp.h"
#include "directory/GetIdentityName.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using SharedContextTest = DirectoryFixture;

TEST_F(SharedContextTest, CheckNDSErrorShowsCodeInUnsignedHexOrNothingForZero) {
    EXPECT_FALSE(CheckNDSError(0, "NWDSInitBuf"));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_TRUE(CheckNDSError(18, "NWDSInitBuf"));
    EXPECT_TRUE(CheckNDSError(-1, "NWDSAllocBuf"));
    EXPECT_TRUE(CheckNDSError(0x7FFFFFFF, "x"));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code 12 - NWDSInitBuf", "Error Code FFFFFFFF - NWDSAllocBuf",
                                         "Error Code 7FFFFFFF - x"));
}

TEST_F(SharedContextTest, StartUpRunsTheStepsInOrderAndSetsFlagBitFour) {
    DirectoryStartUp();
    EXPECT_THAT(client->calls, ElementsAre("StartClientLibrary(null,null)", "StartClientLibrary(null,null)",
                                           "OpenClientScope", "AttachClient(85,1,0)", "CreateContext->100",
                                           "GetContext(100,1)", "SetContext(100,1,20)", "SetContext(100,3,[Root])"));
    EXPECT_EQ(DirContext, 100u);
    EXPECT_EQ(ClientHandle, 1u);
    EXPECT_EQ(LastDirResult, 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SharedContextTest, InitNetWareClientCallsNothingOnceStarted) {
    ASSERT_EQ(InitNetWareClient(), 0);
    client->calls.clear();
    EXPECT_EQ(InitNetWareClient(), 0);
    EXPECT_TRUE(client->calls.empty());
}

TEST_F(SharedContextTest, FailedFirstClientStepIsShownAndStopsTheStartButNotTheContext) {
    client->results["StartClientLibrary"] = {0, 5};
    client->results["SetContext"] = {0, 0x33};
    DirectoryStartUp();
    EXPECT_THAT(ui.messages, ElementsAre("Could not Initialize NetWare Client"));
    EXPECT_EQ(ClientHandle, kClientNotStarted);
    EXPECT_EQ(std::count(client->calls.begin(), client->calls.end(), "OpenClientScope"), 0);
    EXPECT_EQ(DirContext, 100u);
    EXPECT_EQ(LastDirResult, 0x33);
}

TEST_F(SharedContextTest, LaterClientStepFailuresAreSilent) {
    client->results["AttachClient"] = {9};
    EXPECT_EQ(InitNetWareClient(), 9);
    EXPECT_EQ(ClientHandle, kClientNotStarted);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SharedContextTest, IdentityIsEmptyAndSilentWhenTheLookupFails) {
    EXPECT_EQ(GetIdentityName(4), "Admin.Acme");
    client->results["WhoAmI"] = {-601};
    EXPECT_EQ(GetIdentityName(4), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SharedContextTest, ShutDownReleasesTheSharedContextOnce) {
    DirectoryStartUp();
    client->calls.clear();
    DirectoryShutDown();
    DirectoryShutDown();
    EXPECT_THAT(client->calls, ElementsAre("FreeContext(100)"));
    EXPECT_EQ(DirContext, 0u);
}
