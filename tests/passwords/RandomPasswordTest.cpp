#include "passwords/RandomPassword.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

namespace {
std::string Alphabet() {
    return std::string(kPasswordUpper) + std::string(kPasswordLower) + std::string(kPasswordDigits);
}

// Chance that one position holds one given character of a kind of `size` characters, when every
// password of `length` that holds all three kinds is equally likely (inclusion and exclusion over
// the kinds the other positions must still supply).
double ExpectedShare(std::size_t size, int length) {
    const double upper = static_cast<double>(kPasswordUpper.size());
    const double lower = static_cast<double>(kPasswordLower.size());
    const double digits = static_cast<double>(kPasswordDigits.size());
    const double all = upper + lower + digits;
    const auto pow = [](double base, int exponent) { return std::pow(base, exponent); };
    const int n = length;
    const double valid = pow(all, n) - pow(all - upper, n) - pow(all - lower, n) - pow(all - digits, n) +
                         pow(digits, n) + pow(lower, n) + pow(upper, n);
    // The other n - 1 positions must hold the two kinds this character is not of.
    double others[2];
    int i = 0;
    for (double kind : {upper, lower, digits})
        if (kind != static_cast<double>(size))
            others[i++] = kind;
    const double rest = pow(all, n - 1) - pow(all - others[0], n - 1) - pow(all - others[1], n - 1) +
                        pow(all - others[0] - others[1], n - 1);
    return rest / valid;
}
} // namespace

TEST(RandomPasswordTest, EveryLengthHoldsEachKindAndNothingElse) {
    const std::string alphabet = Alphabet();
    for (const char lookAlike : std::string("0O1lI"))
        EXPECT_EQ(alphabet.find(lookAlike), std::string::npos) << lookAlike;
    EXPECT_EQ(alphabet.size(), 57u);
    EXPECT_EQ(std::set<char>(alphabet.begin(), alphabet.end()).size(), alphabet.size());

    for (int length = 3; length <= kMaxRandomPasswordLength; ++length) {
        for (int sample = 0; sample < 200; ++sample) {
            const auto password = RandomPassword(length);
            ASSERT_TRUE(password) << length;
            ASSERT_EQ(password->size(), static_cast<std::size_t>(length));
            const std::string_view text = password->View();
            EXPECT_EQ(text.find_first_not_of(alphabet), std::string::npos) << text;
            EXPECT_NE(text.find_first_of(kPasswordUpper), std::string::npos) << text;
            EXPECT_NE(text.find_first_of(kPasswordLower), std::string::npos) << text;
            EXPECT_NE(text.find_first_of(kPasswordDigits), std::string::npos) << text;
        }
    }
    EXPECT_FALSE(RandomPassword(2));
    EXPECT_FALSE(RandomPassword(-1));
}

TEST(RandomPasswordTest, CharactersAreDrawnUniformlyAtEveryPosition) {
    // Length 8 is where the rule weighs most: a digit is then about a fifth likelier than a letter.
    constexpr int kLength = 8;
    constexpr int kSamples = 40000;
    std::map<char, int> counts;
    std::map<char, int> firstPosition;
    std::set<std::string> seen;
    for (int sample = 0; sample < kSamples; ++sample) {
        const std::string password(RandomPassword(kLength).value().View());
        seen.insert(password);
        ++firstPosition[password.front()];
        for (char c : password)
            ++counts[c];
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kSamples)); // 57^8 passwords: a repeat means a broken source

    const auto check = [](const std::map<char, int>& observed, std::string_view kind, double draws) {
        const double share = ExpectedShare(kind.size(), kLength);
        const double expected = draws * share;
        const double sigma = std::sqrt(draws * share * (1 - share));
        for (char c : kind) {
            const auto it = observed.find(c);
            const double got = it == observed.end() ? 0 : it->second;
            EXPECT_LT(std::abs(got - expected), 5 * sigma) << c << ": " << got << " drawn, " << expected << " expected";
        }
    };
    for (std::string_view kind : {kPasswordUpper, kPasswordLower, kPasswordDigits}) {
        check(counts, kind, double(kSamples) * kLength);
        check(firstPosition, kind, kSamples);
    }
}
