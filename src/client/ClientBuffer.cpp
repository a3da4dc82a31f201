#include "client/ClientBuffer.h"

#include <cstring>

// Layout: texts as a 16-bit length and their bytes, syntaxes as 32-bit values, host byte order.
// Names and values are at most a few hundred bytes, so 16 bits always hold the length.

namespace {
// Whether a text can be handed out whole in a NUL-terminated area of `area` bytes.
bool FitsArea(std::string_view text, std::size_t area) {
    return text.size() < area && text.find('\0') == std::string_view::npos;
}
} // namespace

void ClientBuffer::ClearResults() {
    Reset(Use::kResults, 0);
}

void ClientBuffer::Prepare(std::uint32_t operation) {
    Reset(Use::kRequest, operation);
}

ClientBuffer::~ClientBuffer() {
    explicit_bzero(bytes_.data(), used_);
}

void ClientBuffer::Reset(Use use, std::uint32_t operation) {
    explicit_bzero(bytes_.data(), used_);
    use_ = use;
    operation_ = operation;
    count_ = 0;
    readCount_ = 0;
    used_ = 0;
    readOffset_ = 0;
}

bool ClientBuffer::Restore(Use use, std::uint32_t operation, std::uint32_t count, std::string_view bytes) {
    if (bytes.size() > bytes_.size())
        return false;
    Reset(use, operation);
    if (!bytes.empty())
        std::memcpy(bytes_.data(), bytes.data(), bytes.size());
    used_ = bytes.size();
    count_ = count;
    return true;
}

void ClientBuffer::PutText(std::string_view text) {
    const auto length = static_cast<std::uint16_t>(text.size());
    std::memcpy(bytes_.data() + used_, &length, sizeof length);
    if (!text.empty())
        std::memcpy(bytes_.data() + used_ + sizeof length, text.data(), text.size());
    used_ += sizeof length + text.size();
}

void ClientBuffer::PutU32(std::uint32_t value) {
    std::memcpy(bytes_.data() + used_, &value, sizeof value);
    used_ += sizeof value;
}

bool ClientBuffer::TakeText(std::size_t* offset, std::string_view* text) const {
    std::uint16_t length = 0;
    if (*offset > used_ || used_ - *offset < sizeof length)
        return false;
    std::memcpy(&length, bytes_.data() + *offset, sizeof length);
    if (used_ - *offset - sizeof length < length)
        return false;
    *text = std::string_view(bytes_.data() + *offset + sizeof length, length);
    *offset += sizeof length + length;
    return true;
}

bool ClientBuffer::TakeU32(std::size_t* offset, std::uint32_t* value) const {
    if (*offset > used_ || used_ - *offset < sizeof *value)
        return false;
    std::memcpy(value, bytes_.data() + *offset, sizeof *value);
    *offset += sizeof *value;
    return true;
}

bool ClientBuffer::AppendEntry(std::string_view name, std::string_view baseClass) {
    if (name.empty() || !FitsArea(name, kEntryNameSize) || !FitsArea(baseClass, kObjectInfoSize - kBaseClassOffset))
        name = baseClass = {};
    if (!Fits(4 + name.size() + baseClass.size()))
        return false;
    PutText(name);
    PutText(baseClass);
    ++count_;
    return true;
}

bool ClientBuffer::ReadEntry(std::string_view* name, std::string_view* baseClass) {
    if (readCount_ >= count_)
        return false;
    std::size_t offset = readOffset_;
    std::string_view readName;
    std::string_view readClass;
    if (!TakeText(&offset, &readName) || !TakeText(&offset, &readClass)) {
        readCount_ = count_; // what is left is no entry: the buffer is used up
        return false;
    }
    *name = readName;
    *baseClass = readClass;
    readOffset_ = offset;
    ++readCount_;
    return true;
}

bool ClientBuffer::AppendAttribute(std::string_view name, std::uint32_t syntax, std::string_view value) {
    if (name.size() > 0xFFFF || value.size() > 0xFFFF || !Fits(8 + name.size() + value.size()))
        return false;
    PutText(name);
    PutU32(syntax);
    PutText(value);
    ++count_;
    return true;
}

std::vector<ClientBuffer::Attribute> ClientBuffer::Attributes() const {
    std::vector<Attribute> attributes;
    std::size_t offset = 0;
    for (std::uint32_t i = 0; i < count_; ++i) {
        std::string_view name;
        std::uint32_t syntax = 0;
        std::string_view value;
        if (!TakeText(&offset, &name) || !TakeU32(&offset, &syntax) || !TakeText(&offset, &value))
            break;
        attributes.push_back({std::string(name), syntax, std::string(value)});
    }
    return attributes;
}
