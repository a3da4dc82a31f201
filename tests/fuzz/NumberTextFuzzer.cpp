// StrToIntStrict against a reference built on the C library's conversions, and IndexText against
// printf. Input: the text of a number field; its first five bytes also give an index and digits.
#include "FuzzInput.h"
#include "conversion/IndexText.h"
#include "conversion/StrToInt.h"

#include <cctype>
#include <cstring>
#include <optional>
#include <string>

namespace {
bool AllOf(std::string_view text, int (*test)(int)) {
    for (char c : text) {
        if (!test(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

// The field's rules, checked character by character, with the value left to strtoull.
std::optional<std::int32_t> Reference(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    std::string_view hex;
    bool isHex = false;
    if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        hex = text.substr(1);
        isHex = true;
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        hex = text.substr(2);
        isHex = true;
    }
    if (isHex) {
        if (hex.empty() || !AllOf(hex, isxdigit))
            return std::nullopt;
        while (hex.size() > 1 && hex.front() == '0')
            hex.remove_prefix(1);
        if (hex.size() > 8)
            return std::nullopt;
        const std::string digits(hex);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::strtoull(digits.c_str(), nullptr, 16)));
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !AllOf(text, isdigit))
        return std::nullopt;
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > 10)
        return std::nullopt;
    const std::string digits(text);
    const long long magnitude = std::strtoll(digits.c_str(), nullptr, 10);
    const long long value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::string ReferenceIndexText(std::int32_t index, std::int32_t digits) {
    char decimal[16];
    std::snprintf(decimal, sizeof decimal, "%d", index);
    std::string text = decimal;
    while (static_cast<std::int64_t>(text.size()) < digits)
        text.insert(text.begin(), '0');
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = InputText(data, size);
    constexpr std::int32_t kUntouched = 0x5A5A5A5A;
    std::int32_t value = kUntouched;
    const bool converted = StrToIntStrict(text, &value);
    const auto expected = Reference(text);
    FUZZ_CHECK(converted == expected.has_value());
    FUZZ_CHECK(converted ? value == *expected : value == kUntouched);

    if (size >= 5) {
        std::int32_t index = 0;
        std::memcpy(&index, data, sizeof index);
        // The field holds one character, so digits are small; negative ones pad nothing.
        const std::int32_t digits = static_cast<std::int8_t>(data[4]) % 40;
        FUZZ_CHECK(IndexText(index, digits) == ReferenceIndexText(index, digits));
    }
    return 0;
}
