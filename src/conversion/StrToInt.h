#pragma once

#include <cstdint>
#include <string_view>

// The runtime's text-to-integer conversion for the number fields: blanks (not tabs) may come
// first, then an optional "+" or "-" and decimal digits whose value fits 32 bits, or instead of a
// sign "$", "x", "X", "0x" or "0X" and at most eight significant hexadecimal digits, taken as a
// 32-bit pattern. Nothing may follow. False when the text is not such a number.
bool StrToIntStrict(std::string_view text, std::int32_t* value);
