#pragma once

#include "passwords/CoreDumps.h"

#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <vector>

// Heap memory for secrets: wiped before it is given back, and counted, so that core dumps are off
// while any is held (CoreDumps.h).
template <typename T> struct WipingAllocator {
    using value_type = T;
    WipingAllocator() = default;
    template <typename U> WipingAllocator(const WipingAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        T* memory = static_cast<T*>(::operator new(n * sizeof(T)));
        HoldSecretMemory();
        return memory;
    }
    void deallocate(T* memory, std::size_t n) noexcept {
        WipeMemory(memory, n * sizeof(T));
        ::operator delete(memory);
        ReleaseSecretMemory();
    }
    template <typename U> bool operator==(const WipingAllocator<U>&) const noexcept { return true; }
};

// A password, as UTF-8 text. Its bytes live only in memory that is wiped when the text is dropped,
// cleared or copied elsewhere on growth; each copy wipes its own. Whoever needs the text hands
// out View() where it is used and keeps no copy of its own.
class SecretText {
public:
    SecretText() = default;
    // From any text: a password is taken into a SecretText wherever it comes from.
    SecretText(std::string_view text) { Assign(text); }
    SecretText(const char* text) : SecretText(std::string_view(text)) {}
    SecretText(const std::string& text) : SecretText(std::string_view(text)) {}

    // The text; valid until the SecretText changes or goes. Followed by a NUL for C interfaces.
    std::string_view View() const {
        return bytes_.empty() ? std::string_view() : std::string_view(bytes_.data(), size());
    }
    const char* CString() const { return bytes_.empty() ? "" : bytes_.data(); }
    std::size_t size() const { return bytes_.empty() ? 0 : bytes_.size() - 1; }
    bool empty() const { return size() == 0; }

    void Assign(std::string_view text);
    // Room for `size` bytes, so that appending up to there never moves the text.
    void Reserve(std::size_t size);
    void Append(char c);
    // Wipes the text now, and gives back its memory.
    void Clear();

    friend bool operator==(const SecretText& a, const SecretText& b) { return a.View() == b.View(); }

private:
    std::vector<char, WipingAllocator<char>> bytes_; // the text and its NUL, or nothing
};
