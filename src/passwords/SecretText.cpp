#include "passwords/SecretText.h"

void SecretText::Assign(std::string_view text) {
    Clear();
    if (text.empty())
        return;
    Reserve(text.size());
    bytes_.assign(text.begin(), text.end());
    bytes_.push_back('\0');
}

void SecretText::Append(char c) {
    if (bytes_.empty())
        bytes_.push_back('\0');
    bytes_.back() = c;
    bytes_.push_back('\0');
}

void SecretText::Clear() {
    WipeMemory(bytes_.data(), bytes_.size());
    std::vector<char, WipingAllocator<char>>().swap(bytes_);
}

void SecretText::Reserve(std::size_t size) {
    bytes_.reserve(size + 1);
}
