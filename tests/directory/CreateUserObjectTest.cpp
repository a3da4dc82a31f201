#include "directory/CreateUserObject.h"
#include "DirectoryFixture.h"
#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "directory/DirectoryQueries.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using CreateUserObjectTest = DirectoryFixture;

TEST_F(CreateUserObjectTest, SuccessMakesTheFiveCallsAndTheRelease) {
    DirContext = 42;
    EXPECT_TRUE(CreateUserObject("stud0001", "Student"));
    EXPECT_THAT(client->calls,
                ElementsAre("AllocBuf(4096)->200", "InitBuf(42,7,200)", "PutAttr(42,200,Object Class,20,User)",
                            "PutAttr(42,200,Surname,3,Student)", "AddObject(42,stud0001,-1,0,200)", "FreeBuf(200)"));
    EXPECT_TRUE(ui.messages.empty());
}

struct FailingStep {
    const char* operation;
    int skip; // successful calls of the same operation before the failing one
    const char* message;
    bool released;
    NWDSCCODE code = 0x3A;
};

class CreateUserObjectFailure : public DirectoryFixture, public ::testing::WithParamInterface<FailingStep> {};

TEST_P(CreateUserObjectFailure, ReportsTheStepLabelStopsAndReleases) {
    const FailingStep& step = GetParam();
    std::deque<int> script(step.skip, 0);
    script.push_back(step.code);
    client->results[step.operation] = script;
    EXPECT_FALSE(CreateUserObject("u1", "S"));
    EXPECT_THAT(ui.messages, ElementsAre(step.message));
    // Nothing after the failure but the release of the buffer (and only when there is one).
    const auto failed = std::find_if(client->calls.begin(), client->calls.end(),
                                     [](const std::string& c) { return c.rfind("Message(", 0) == 0; });
    ASSERT_NE(failed, client->calls.end());
    std::vector<std::string> after(failed + 1, client->calls.end());
    if (step.released)
        EXPECT_THAT(after, ElementsAre("FreeBuf(200)"));
    else
        EXPECT_TRUE(after.empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, CreateUserObjectFailure,
                         ::testing::Values(FailingStep{"AllocBuf", 0, "Error Code 3A - NWDSAllocBuf", false},
                                           FailingStep{"InitBuf", 0, "Error Code 3A - NWDSInitBuf", true},
                                           FailingStep{"PutAttr", 0, "Error Code 3A - NWDSPutAttrNameAndVal", true},
                                           FailingStep{"PutAttr", 1, "Error Code 3A - NWDSPutAttrNameAndVal", true},
                                           FailingStep{"AddObject", 0,
                                                       "Error Code 3A - Trying to create userobject with NWDSAddObject",
                                                       true},
                                           // A login name the directory refuses has a label of its own.
                                           FailingStep{"AddObject", 0,
                                                       "Error Code FFFFFD7D - Login name not valid for this directory, "
                                                       "user not created",
                                                       true, rc::kLoginNameNotValid}));

// Listings hand a name back escaped, in a 256-byte area with its NUL: the longest name that fits
// there goes through whole, with a surname of 256 bytes.
TEST_F(CreateUserObjectTest, LongestNamesThatCanBeListedGoThroughWhole) {
    const std::string name(255, 'n');
    const std::string dotted = std::string(127, '.') + "n"; // 255 bytes once escaped
    const std::string surname(256, 's');
    EXPECT_TRUE(CreateUserObject(name, surname));
    EXPECT_TRUE(CreateUserObject(dotted, "S"));
    EXPECT_EQ(client->calls[3], "PutAttr(0,200,Surname,3," + surname + ")");
    EXPECT_EQ(client->calls[4], "AddObject(0," + name + ",-1,0,200)");
    EXPECT_EQ(client->calls[10], "AddObject(0," + EscapeNamePart(dotted) + ",-1,0,201)");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CreateUserObjectTest, NamesThatCouldNotBeListedAndOverlongSurnamesAreRefusedBeforeAnyClientCall) {
    EXPECT_FALSE(CreateUserObject(std::string(256, 'n'), "S"));
    EXPECT_FALSE(CreateUserObject(std::string(128, '='), "S")); // 256 bytes once escaped
    EXPECT_FALSE(CreateUserObject("n", std::string(257, 's')));
    const char* tooLong = "Error Code FFFFFD6C - Login name too long for the directory, user not created";
    EXPECT_THAT(ui.messages, ElementsAre(tooLong, tooLong,
                                         "Error Code FFFFFD6B - Last name longer than 256 bytes, user not created"));
    EXPECT_EQ(client->calls.size(), 3u); // the three messages only
}

TEST_F(CreateUserObjectTest, DotsBackslashesEqualsSignsAndRootStayInOneLiteralName) {
    for (const char* name : {"a.b0001", "c\\d.0002", "ou=x0003", "[Root]"})
        EXPECT_TRUE(CreateUserObject(name, "S"));
    EXPECT_EQ(client->calls[4], "AddObject(0,a\\.b0001,-1,0,200)");
    EXPECT_EQ(client->calls[10], "AddObject(0,c\\\\d\\.0002,-1,0,201)");
    EXPECT_EQ(client->calls[16], "AddObject(0,ou\\=x0003,-1,0,202)");
    EXPECT_EQ(client->calls[22], "AddObject(0,[Root\\],-1,0,203)");
}

TEST_F(CreateUserObjectTest, BlanksArePassedUnchanged) {
    EXPECT_TRUE(CreateUserObject("  ", " Smith "));
    EXPECT_EQ(client->calls[3], "PutAttr(0,200,Surname,3, Smith )");
    EXPECT_EQ(client->calls[4], "AddObject(0,  ,-1,0,200)");
}

TEST_F(CreateUserObjectTest, APasswordTravelsAsOneMoreAttributeOfTheSameAdd) {
    DirContext = 42;
    EXPECT_TRUE(CreateUserObject("stud0001", "Student", InitialPassword{"p\xC3\xA4ss \"w\" \\", false}));
    EXPECT_TRUE(CreateUserObject("stud0002", "Student", InitialPassword{"Abc12345", true}));
    EXPECT_THAT(client->calls,
                ElementsAre("AllocBuf(4096)->200", "InitBuf(42,7,200)", "PutAttr(42,200,Object Class,20,User)",
                            "PutAttr(42,200,Surname,3,Student)", "PutAttr(42,200,Password,9,p\xC3\xA4ss \"w\" \\)",
                            "AddObject(42,stud0001,-1,0,200)", "FreeBuf(200)", "AllocBuf(4096)->201",
                            "InitBuf(42,7,201)", "PutAttr(42,201,Object Class,20,User)",
                            "PutAttr(42,201,Surname,3,Student)", "PutAttr(42,201,Password,9,Abc12345)",
                            "PutAttr(42,201,Password Must Change,7,1)", "AddObject(42,stud0002,-1,0,201)",
                            "FreeBuf(201)"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CreateUserObjectTest, PasswordStepsFailLikeTheOthersAndNeverShowThePassword) {
    client->results["PutAttr"] = {0, 0, 0x3A};
    EXPECT_FALSE(CreateUserObject("u1", "S", InitialPassword{"Secret99", false}));
    client->results["AddObject"] = {-650};
    EXPECT_FALSE(CreateUserObject("u2", "S", InitialPassword{"Secret99", true}));
    EXPECT_FALSE(CreateUserObject("u3", "S", InitialPassword{std::string(257, 'p'), false}));
    EXPECT_THAT(ui.messages, ElementsAre("Error Code 3A - NWDSPutAttrNameAndVal",
                                         "Error Code FFFFFD76 - Trying to create userobject with NWDSAddObject",
                                         "Error Code FFFFFD6A - Password longer than 256 bytes, user not created"));
    // The over-long one is refused before any client call: its message is the last call.
    EXPECT_EQ(client->calls.back(), "Message(Error Code FFFFFD6A - Password longer than 256 bytes, user not created)");
    // The two buffers allocated were both released.
    EXPECT_EQ(std::count(client->calls.begin(), client->calls.end(), "AllocBuf(4096)->201"), 1);
    EXPECT_EQ(std::count(client->calls.begin(), client->calls.end(), "FreeBuf(201)"), 1);
}

TEST_F(CreateUserObjectTest, DirectoryNameIsAskedForTheLiteralNameFromTheTop) {
    DirContext = 42;
    EXPECT_EQ(DirectoryNameOf("v1\\.2.Acme", "a.b"), ".a\\.b.v1\\.2.Acme,directory");
    EXPECT_THAT(client->calls, ElementsAre("ObjectDirectoryName(42,.a\\.b.v1\\.2.Acme)"));
    client->results["ObjectDirectoryName"] = {-601};
    EXPECT_EQ(DirectoryNameOf("Acme", "gone"), "");
}
