#pragma once

#include "ClientTypes.h"

#include <string>
#include <string_view>
#include <vector>

// A 4096-byte client buffer. A result buffer holds listed entries (name and base class), a request
// buffer the attributes of an object to create. What it holds must fit the 4096 bytes, so a
// listing really comes in batches.
class ClientBuffer {
public:
    struct Attribute {
        std::string name;
        std::uint32_t syntax = 0;
        std::string value;
    };

    // Empties the buffer for results of a listing.
    void ClearResults();
    // Appends one listed entry; false when the buffer has no room for it, and nothing is appended.
    // An entry whose name or base class could never be handed out through the callers' fixed
    // areas is passed over (true, nothing appended), so it cannot end the listing of its siblings.
    bool AppendEntry(std::string_view name, std::string_view baseClass);
    // Takes the next entry out; false when none is left.
    bool ReadEntry(std::string_view* name, std::string_view* baseClass);

    // Empties the buffer for a request of `operation`.
    void Prepare(std::uint32_t operation);
    // Appends one attribute with one value; false when it does not fit.
    bool AppendAttribute(std::string_view name, std::uint32_t syntax, std::string_view value);
    std::vector<Attribute> Attributes() const;

    std::uint32_t operation() const { return operation_; }
    std::uint32_t count() const { return count_; }
    std::size_t used() const { return used_; }

private:
    bool Fits(std::size_t more) const { return used_ + more <= bytes_.size(); }
    void PutText(std::string_view text);
    void PutU32(std::uint32_t value);
    std::string_view TakeText(std::size_t* offset) const;
    std::uint32_t TakeU32(std::size_t* offset) const;

    std::uint32_t operation_ = 0;
    std::uint32_t count_ = 0;
    std::uint32_t readCount_ = 0;
    std::size_t used_ = 0;
    std::size_t readOffset_ = 0;
    std::array<char, kBufferSize> bytes_{};
};
