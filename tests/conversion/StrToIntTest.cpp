#include "conversion/StrToInt.h"
#include "conversion/IndexText.h"

#include <gtest/gtest.h>

#include <optional>

namespace {
struct Case {
    const char* text;
    std::optional<std::int32_t> value; // nullopt: not a number
};

class StrToIntTest : public ::testing::TestWithParam<Case> {};

TEST_P(StrToIntTest, ConvertsLikeTheRuntime) {
    const Case& c = GetParam();
    std::int32_t value = 12345;
    const bool ok = StrToIntStrict(std::string_view(c.text), &value);
    ASSERT_EQ(ok, c.value.has_value()) << '"' << c.text << '"';
    if (ok)
        EXPECT_EQ(value, *c.value) << '"' << c.text << '"';
    else
        EXPECT_EQ(value, 12345) << "a refused text leaves the value alone";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrToIntTest,
    ::testing::Values(
        // decimal, with blanks in front and an optional sign
        Case{"1", 1}, Case{"0", 0}, Case{" 12", 12}, Case{"   -5", -5}, Case{"+7", 7}, Case{"0012", 12},
        Case{"9999", 9999}, Case{"-2147483648", INT32_MIN}, Case{"2147483647", INT32_MAX},
        Case{"2147483648", std::nullopt}, Case{"-2147483649", std::nullopt}, Case{"99999999999999999999", std::nullopt},
        // hexadecimal prefixes, either letter case, eight significant digits, 32-bit pattern
        Case{"$A", 10}, Case{"$a", 10}, Case{"x1f", 31}, Case{"X1F", 31}, Case{"0x10", 16}, Case{"0X10", 16},
        Case{"$FFFFFFFF", -1}, Case{"$80000000", INT32_MIN}, Case{"0x0000000012345678", 0x12345678},
        Case{"$100000000", std::nullopt}, Case{" $A", 10},
        // not a number
        Case{"", std::nullopt}, Case{" ", std::nullopt}, Case{"12 ", std::nullopt}, Case{"\t1", std::nullopt},
        Case{"+-1", std::nullopt}, Case{"-$A", std::nullopt}, Case{"+0x1", std::nullopt}, Case{"-", std::nullopt},
        Case{"+", std::nullopt}, Case{"$", std::nullopt}, Case{"0x", std::nullopt}, Case{"1a", std::nullopt},
        Case{"$G", std::nullopt}, Case{"1 2", std::nullopt}, Case{"1.0", std::nullopt}, Case{"x", std::nullopt}));

TEST(IndexTextTest, FillsWithZerosInFrontOfTheWholeText) {
    EXPECT_EQ(IndexText(1, 4), "0001");
    EXPECT_EQ(IndexText(-5, 4), "00-5");
    EXPECT_EQ(IndexText(100, 2), "100");
    EXPECT_EQ(IndexText(7, 0), "7");
    EXPECT_EQ(IndexText(7, -3), "7");
    EXPECT_EQ(IndexText(-2147483647 - 1, 12), "0-2147483648");
}
} // namespace
