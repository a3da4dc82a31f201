#include "conversion/StrToInt.h"

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseHex(std::string_view digits, std::int32_t* value) {
    if (digits.empty())
        return false;
    std::uint32_t pattern = 0;
    int significant = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return false;
        if (significant > 0 || digit != 0)
            ++significant;
        if (significant > 8)
            return false;
        pattern = pattern << 4 | static_cast<std::uint32_t>(digit);
    }
    *value = static_cast<std::int32_t>(pattern);
    return true;
}

bool ParseDecimal(std::string_view digits, bool negative, std::int32_t* value) {
    if (digits.empty())
        return false;
    const std::uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
    std::uint64_t magnitude = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit)
            return false;
    }
    *value = static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude)
                                                : static_cast<std::int64_t>(magnitude));
    return true;
}
} // namespace

bool StrToIntStrict(std::string_view text, std::int32_t* value) {
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string_view::npos)
        return false;
    text.remove_prefix(pos);
    if (text.front() == '$' || text.front() == 'x' || text.front() == 'X')
        return ParseHex(text.substr(1), value);
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2), value);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return ParseDecimal(text, negative, value);
}
