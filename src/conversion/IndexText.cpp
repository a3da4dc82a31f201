#include "conversion/IndexText.h"

std::string IndexText(std::int32_t index, std::int32_t digits) {
    std::string text = std::to_string(index);
    if (digits > 0 && static_cast<std::size_t>(digits) > text.size())
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}
