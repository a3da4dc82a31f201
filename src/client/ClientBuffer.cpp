#include "ClientBuffer.h"

#include <cstring>

// Layout: texts as a 16-bit length and their bytes, syntaxes as 32-bit values, host byte order.
// Names and values are at most a few hundred bytes, so 16 bits always hold the length.

void ClientBuffer::ClearResults() {
    Prepare(0);
}

void ClientBuffer::Prepare(std::uint32_t operation) {
    operation_ = operation;
    count_ = 0;
    readCount_ = 0;
    used_ = 0;
    readOffset_ = 0;
}

void ClientBuffer::PutText(std::string_view text) {
    const auto length = static_cast<std::uint16_t>(text.size());
    std::memcpy(bytes_.data() + used_, &length, sizeof length);
    std::memcpy(bytes_.data() + used_ + sizeof length, text.data(), text.size());
    used_ += sizeof length + text.size();
}

void ClientBuffer::PutU32(std::uint32_t value) {
    std::memcpy(bytes_.data() + used_, &value, sizeof value);
    used_ += sizeof value;
}

std::string_view ClientBuffer::TakeText(std::size_t* offset) const {
    std::uint16_t length = 0;
    std::memcpy(&length, bytes_.data() + *offset, sizeof length);
    std::string_view text(bytes_.data() + *offset + sizeof length, length);
    *offset += sizeof length + length;
    return text;
}

std::uint32_t ClientBuffer::TakeU32(std::size_t* offset) const {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes_.data() + *offset, sizeof value);
    *offset += sizeof value;
    return value;
}

bool ClientBuffer::AppendEntry(std::string_view name, std::string_view baseClass) {
    if (name.size() >= kEntryNameSize || baseClass.size() >= kObjectInfoSize - kBaseClassOffset)
        return true;
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
    *name = TakeText(&readOffset_);
    *baseClass = TakeText(&readOffset_);
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
    attributes.reserve(count_);
    std::size_t offset = 0;
    for (std::uint32_t i = 0; i < count_; ++i) {
        Attribute attribute;
        attribute.name = TakeText(&offset);
        attribute.syntax = TakeU32(&offset);
        attribute.value = TakeText(&offset);
        attributes.push_back(std::move(attribute));
    }
    return attributes;
}
