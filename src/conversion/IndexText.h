#pragma once

#include <cstdint>
#include <string>

// A user's running index as it goes into the name: decimal, "-" for a negative one, with "0" in
// front (also in front of the "-") up to `digits` characters. Longer texts stay as they are.
std::string IndexText(std::int32_t index, std::int32_t digits);
