#pragma once

#include "client/ClientTypes.h"

#include <string>
#include <string_view>
#include <vector>

// A 4096-byte client buffer. A result buffer holds listed entries (name and base class), a request
// buffer the attributes of an object to create. What it holds must fit the 4096 bytes, so a
// listing really comes in batches. Reading never leaves the bytes written, whatever they hold.
class ClientBuffer {
public:
    // What the buffer was last prepared for.
    enum class Use { kNone, kResults, kRequest };

    struct Attribute {
        std::string name;
        std::uint32_t syntax = 0;
        std::string value;
    };

    // Empties the buffer for results of a listing.
    void ClearResults();
    // Appends one listed entry; false when the buffer has no room for it, and nothing is appended.
    // An entry whose name or base class could never be handed out through the callers' fixed
    // areas (too long, a NUL inside, an empty name) goes in with an empty name and an empty base
    // class: it is counted, and no caller takes it for a container.
    bool AppendEntry(std::string_view name, std::string_view baseClass);
    // Takes the next entry out; false when none is left or the rest does not hold a whole entry.
    bool ReadEntry(std::string_view* name, std::string_view* baseClass);

    // Empties the buffer for a request of `operation`.
    void Prepare(std::uint32_t operation);
    // Appends one attribute with one value; false when it does not fit.
    bool AppendAttribute(std::string_view name, std::uint32_t syntax, std::string_view value);
    // The attributes of a request, as far as the bytes hold whole ones.
    std::vector<Attribute> Attributes() const;

    // Takes `bytes` as the content of a buffer prepared for `use` (`operation` for a request) that
    // holds `count` items, as a client would receive it. False, and nothing changes, when they do
    // not fit the 4096 bytes.
    bool Restore(Use use, std::uint32_t operation, std::uint32_t count, std::string_view bytes);

    ClientBuffer() = default;
    ClientBuffer(const ClientBuffer&) = delete;
    ClientBuffer& operator=(const ClientBuffer&) = delete;
    // A request may hold a password: the bytes written are wiped when the buffer is emptied or goes.
    ~ClientBuffer();

    Use use() const { return use_; }
    std::uint32_t operation() const { return operation_; }
    std::uint32_t count() const { return count_; }
    std::size_t used() const { return used_; }
    // The bytes written so far.
    std::string_view bytes() const { return {bytes_.data(), used_}; }

private:
    bool Fits(std::size_t more) const { return used_ + more <= bytes_.size(); }
    void Reset(Use use, std::uint32_t operation);
    void PutText(std::string_view text);
    void PutU32(std::uint32_t value);
    // Read at `*offset` within the bytes written; false, with `*offset` unchanged, past their end.
    bool TakeText(std::size_t* offset, std::string_view* text) const;
    bool TakeU32(std::size_t* offset, std::uint32_t* value) const;

    Use use_ = Use::kNone;
    std::uint32_t operation_ = 0;
    std::uint32_t count_ = 0;
    std::uint32_t readCount_ = 0;
    std::size_t used_ = 0;
    std::size_t readOffset_ = 0;
    std::array<char, kBufferSize> bytes_{};
};
