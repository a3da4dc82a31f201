#include "DottedName.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::Optional;

TEST(DottedName, EscapedPartsSurviveARoundTrip) {
    for (const std::string part : {"a.b", "c\\d", "x,ou=Admins", "trailing\\", ".", ""}) {
        const std::string escaped = EscapeNamePart(part);
        if (part.empty())
            continue;
        EXPECT_THAT(SplitDottedName(escaped), Optional(ElementsAre(part))) << part;
    }
    EXPECT_EQ(JoinDottedName({"a.b", "Sales", "Acme"}), "a\\.b.Sales.Acme");
}

TEST(DottedName, MalformedNamesAreRefused) {
    for (const char* name : {"", "a..b", "a.", ".", "a\\"})
        EXPECT_EQ(SplitDottedName(name), std::nullopt) << name;
}

TEST(DottedName, ResolvesRelativeAbsoluteAndRootNames) {
    EXPECT_THAT(ResolveName("East", "Sales.Acme"), Optional(ElementsAre("Acme", "Sales", "East")));
    EXPECT_THAT(ResolveName(".Sales.Acme", "Other"), Optional(ElementsAre("Acme", "Sales")));
    EXPECT_THAT(ResolveName("Acme", "[Root]"), Optional(ElementsAre("Acme")));
    EXPECT_THAT(ResolveName(".[Root]", "Acme"), Optional(ElementsAre()));
    EXPECT_THAT(ResolveName("[Root]", "Acme"), Optional(ElementsAre()));
    EXPECT_THAT(ResolveName(".", "Acme"), Optional(ElementsAre()));
    EXPECT_THAT(ResolveName("", "Sales.Acme"), Optional(ElementsAre("Acme", "Sales")));
    EXPECT_THAT(ResolveName("a\\.b0001", "Acme"), Optional(ElementsAre("Acme", "a.b0001")));
    EXPECT_EQ(ResolveName("a..b", "Acme"), std::nullopt);
    EXPECT_EQ(ResolveName("a", "Acme..x"), std::nullopt);
}
