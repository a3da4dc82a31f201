#include "client/DottedName.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::Optional;

namespace {
NamePart Plain(const char* value) {
    return {{}, value};
}
NamePart Typed(const char* type, const char* value) {
    return {type, value};
}
} // namespace

TEST(DottedName, EscapedPartsSurviveARoundTrip) {
    const std::vector<NamePart> parts{Plain("a.b"),         Plain("c\\d"),
                                      Plain("x,ou=Admins"), Plain("trailing\\"),
                                      Plain("."),           Plain("[Root]"),
                                      Plain("[Root]x"),     Plain("="),
                                      Typed("ou", "Sales"), Typed("dc", "ex,dc=com"),
                                      Typed("o", "a.b\\c"), Typed("2.5.4.11", "x")};
    for (const NamePart& part : parts) {
        const auto split = SplitDottedName(FormatNamePart(part));
        ASSERT_TRUE(split) << FormatNamePart(part);
        EXPECT_FALSE(split->fromRoot);
        EXPECT_THAT(split->parts, ElementsAre(part)) << FormatNamePart(part);
    }
    EXPECT_EQ(EscapeNamePart("a=b"), "a\\=b");
    EXPECT_EQ(EscapeNamePart("[Root]"), "[Root\\]");
    EXPECT_EQ(JoinDottedName({Plain("a.b"), Typed("ou", "Sales"), Typed("dc", "example,dc=com")}),
              "a\\.b.ou=Sales.dc=example,dc=com");
    EXPECT_EQ(JoinDottedName({Typed("o", "example.com")}), "o=example\\.com");
}

TEST(DottedName, MalformedNamesAreRefused) {
    for (const char* name : {"", "a..b", "a.", ".", "a\\", "=x", "ou=", "1ou=x", "o u=x", "2\\.\\.5=x", "01\\.2=x",
                             "[Root].Acme", "a.[Root].b", "[Root].[Root]"})
        EXPECT_EQ(SplitDottedName(name), std::nullopt) << name;
}

TEST(DottedName, ResolvesRelativeAbsoluteAndRootNames) {
    EXPECT_THAT(ResolveName("East", "Sales.Acme"), Optional(ElementsAre(Plain("Acme"), Plain("Sales"), Plain("East"))));
    EXPECT_THAT(ResolveName(".Sales.Acme", "Other"), Optional(ElementsAre(Plain("Acme"), Plain("Sales"))));
    EXPECT_THAT(ResolveName("Acme", "[Root]"), Optional(ElementsAre(Plain("Acme"))));
    EXPECT_THAT(ResolveName(".[Root]", "Acme"), Optional(ElementsAre()));
    EXPECT_THAT(ResolveName("[Root]", "Acme"), Optional(ElementsAre()));
    EXPECT_THAT(ResolveName("Sales.[Root]", "Acme"), Optional(ElementsAre(Plain("Sales"))));
    EXPECT_THAT(ResolveName(".", "Acme"), Optional(ElementsAre()));
    EXPECT_THAT(ResolveName("", "Sales.Acme"), Optional(ElementsAre(Plain("Acme"), Plain("Sales"))));
    EXPECT_THAT(ResolveName("a\\.b0001", "Acme"), Optional(ElementsAre(Plain("Acme"), Plain("a.b0001"))));
    EXPECT_EQ(ResolveName("a..b", "Acme"), std::nullopt);
    EXPECT_EQ(ResolveName("a", "Acme..x"), std::nullopt);
}

// A node named "[Root]" below the top is a container like any other: its escaped name never
// names the top, so what lies below it is never taken for what lies below the top.
TEST(DottedName, EscapedRootIsAnOrdinaryPart) {
    const std::string below = "Sales." + EscapeNamePart("[Root]");
    EXPECT_THAT(ResolveName(below, "[Root]"), Optional(ElementsAre(Plain("[Root]"), Plain("Sales"))));
    EXPECT_THAT(ResolveName("." + below, "Acme"), Optional(ElementsAre(Plain("[Root]"), Plain("Sales"))));
    EXPECT_THAT(ResolveName("u1", below), Optional(ElementsAre(Plain("[Root]"), Plain("Sales"), Plain("u1"))));
    EXPECT_THAT(ResolveName("\\[Root].x", "[Root]"), Optional(ElementsAre(Plain("x"), Plain("[Root]"))));
}

TEST(DottedName, TypedPartsAndEscapedEqualsSigns) {
    EXPECT_THAT(ResolveName("East.ou=Sales.Acme", "[Root]"),
                Optional(ElementsAre(Plain("Acme"), Typed("ou", "Sales"), Plain("East"))));
    EXPECT_THAT(ResolveName("u.dc=example,dc=com", "[Root]"),
                Optional(ElementsAre(Typed("dc", "example,dc=com"), Plain("u"))));
    EXPECT_THAT(ResolveName("a\\=b", "o\\=x"), Optional(ElementsAre(Plain("o=x"), Plain("a=b"))));
    EXPECT_THAT(ResolveName("OU=a\\=b=c", "[Root]"), Optional(ElementsAre(Typed("OU", "a=b=c"))));
    EXPECT_THAT(TypelessValues({Plain("a"), Plain("b")}), Optional(ElementsAre("a", "b")));
    EXPECT_EQ(TypelessValues({Plain("a"), Typed("ou", "b")}), std::nullopt);
}
