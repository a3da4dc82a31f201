#include "EmbeddedFixture.h"
#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedSchema.h"
#include "client/embedded/PasswordHash.h"
#include "directory/CreateUserObject.h"
#include "directory/DirectoryQueries.h"
#include "directory/SharedContext.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using ::testing::ElementsAre;

namespace {
RequestAttribute Password(const std::string& text) {
    return {kPasswordAttribute, kSyntaxOctetString, text};
}
const RequestAttribute kMustChange{kPasswordMustChangeAttribute, kSyntaxBoolean, kTrueValue};

std::vector<RequestAttribute> UserWith(std::vector<RequestAttribute> more) {
    std::vector<RequestAttribute> attributes{{kObjectClassAttribute, kSyntaxClassName, kUserClass},
                                             {kSurnameAttribute, kSyntaxCaseIgnoreString, "Student"}};
    attributes.insert(attributes.end(), more.begin(), more.end());
    return attributes;
}

// Every byte of the store's files: the database and its write-ahead log.
std::string StoreBytes(const std::string& storePath) {
    std::string bytes;
    for (const std::string& path : {storePath, storePath + "-wal"}) {
        std::ifstream file(path, std::ios::binary);
        bytes.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    return bytes;
}
} // namespace

using EmbeddedPasswordTest = EmbeddedTest;

TEST_F(EmbeddedPasswordTest, PasswordsAreKeptAsSaltedYescryptHashesOnly) {
    auto client = OpenSampleStore();
    const std::string unusual = "S\xC3\xA9"
                                "cret \"q\" \\ x";                 // non-ASCII, quotes, a backslash, blanks
    const std::string longest = "P4ssw0rd" + std::string(56, 'x'); // 64 characters
    ASSERT_EQ(AddObject(*client, "Sales.Acme", "u1", UserWith({Password(unusual)})), 0);
    ASSERT_EQ(AddObject(*client, "Sales.Acme", "u2", UserWith({Password(unusual), kMustChange})), 0);
    ASSERT_EQ(AddObject(*client, "Sales.Acme", "u3", UserWith({Password(longest)})), 0);
    ASSERT_EQ(AddUser(*client, "Sales.Acme", "u4", "Student"), 0);

    const auto hash1 = view.Attribute("u1.Sales.Acme", kPasswordHashAttribute).value_or("");
    const auto hash2 = view.Attribute("u2.Sales.Acme", kPasswordHashAttribute).value_or("");
    const auto hash3 = view.Attribute("u3.Sales.Acme", kPasswordHashAttribute).value_or("");
    EXPECT_EQ(hash1.rfind("$y$", 0), 0u) << hash1;
    EXPECT_TRUE(PasswordMatches(hash1, unusual));
    EXPECT_TRUE(PasswordMatches(hash2, unusual));
    EXPECT_TRUE(PasswordMatches(hash3, longest));
    // Salted: the same password hashes differently; nothing but the password itself matches.
    EXPECT_NE(hash1, hash2);
    for (const std::string& wrong : {std::string("S\xC3\xA9"
                                                 "cret"),
                                     unusual + " ", std::string(), longest.substr(0, 63)})
        EXPECT_FALSE(PasswordMatches(hash1, wrong) || PasswordMatches(hash3, wrong)) << wrong;
    EXPECT_FALSE(PasswordMatches("not a hash", unusual));

    EXPECT_EQ(view.Attribute("u1.Sales.Acme", kPasswordMustChangeAttribute), std::nullopt);
    EXPECT_EQ(view.Attribute("u2.Sales.Acme", kPasswordMustChangeAttribute), std::optional<std::string>(kTrueValue));
    EXPECT_EQ(view.Attribute("u4.Sales.Acme", kPasswordHashAttribute), std::nullopt);
    EXPECT_EQ(view.Surname("u2.Sales.Acme"), "Student");

    // The clear text is in none of the store's files.
    const std::string bytes = StoreBytes(StorePath());
    ASSERT_NE(bytes.find("u3"), std::string::npos);
    EXPECT_EQ(bytes.find(unusual), std::string::npos);
    EXPECT_EQ(bytes.find(longest), std::string::npos);
}

TEST_F(EmbeddedPasswordTest, RequestsThatBreakThePasswordRulesCreateNothing) {
    auto client = OpenSampleStore();
    const struct {
        const char* name;
        std::vector<RequestAttribute> extra;
        NWDSCCODE code;
    } cases[] = {
        {"changeOnly", {kMustChange}, rc::kSyntaxViolation},
        {"empty", {Password("")}, rc::kSyntaxViolation},
        {"twice", {Password("Abc12345"), Password("Abc12345")}, rc::kSyntaxViolation},
        {"changeTwice", {Password("Abc12345"), kMustChange, kMustChange}, rc::kSyntaxViolation},
        {"notTrue", {Password("Abc12345"), {kPasswordMustChangeAttribute, kSyntaxBoolean, "0"}}, rc::kSyntaxViolation},
        {"wrongSyntax", {{kPasswordAttribute, kSyntaxCaseIgnoreString, "Abc12345"}}, rc::kSyntaxViolation},
        {"tooLong", {Password(std::string(257, 'p'))}, rc::kValueTooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddObject(*client, "Sales.Acme", c.name, UserWith(c.extra)), c.code) << c.name;
    EXPECT_THAT(*view.Children("Sales.Acme"), ElementsAre("East", "JSmith", "Laser1"));
}

TEST_F(EmbeddedPasswordTest, TheDirectoryLayerSetsThePasswordAndNamesTheUser) {
    BindAndStart(OpenSampleStore());
    EXPECT_TRUE(DirectoryPasswordSupport().CanSetPassword());
    EXPECT_TRUE(DirectoryPasswordSupport().CanAskForChange());
    LastDirResult = SetNameContext(DirContext, "East.Sales.Acme");
    ASSERT_TRUE(CreateUserObject("a.b", "Student", InitialPassword{"Abc12345", true}));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(DirectoryNameOf("East.Sales.Acme", "a.b"), "a\\.b.East.Sales.Acme");
    EXPECT_TRUE(
        PasswordMatches(view.Attribute("a\\.b.East.Sales.Acme", kPasswordHashAttribute).value_or(""), "Abc12345"));
    EXPECT_EQ(view.Attribute("a\\.b.East.Sales.Acme", kPasswordMustChangeAttribute),
              std::optional<std::string>(kTrueValue));
}
