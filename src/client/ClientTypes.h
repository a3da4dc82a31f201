#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Result of every directory operation: 0 is success, anything else a failure.
using NWDSCCODE = std::int32_t;
// Result of the three client start steps (16 bits, 0 is success).
using NWCCODE = std::uint16_t;
// Handle of a directory context, created and released by the client.
using NWDSContextHandle = std::uint32_t;
// Handle of a client buffer, allocated and released by the client.
using NWBufHandle = std::uint32_t;

// Fixed sizes of the areas the callers hand to the client.
inline constexpr std::size_t kBufferSize = 4096;    // request and result buffers
inline constexpr std::size_t kEntryNameSize = 256;  // entry name, NUL included
inline constexpr std::size_t kIdentitySize = 516;   // identity name, NUL included
inline constexpr std::size_t kObjectInfoSize = 148; // object information of a listed entry
inline constexpr std::size_t kBaseClassOffset = 12; // base-class name inside the object information
inline constexpr std::size_t kMaxValueLength = 256; // longest object name or attribute value

using ObjectInfoArea = std::array<char, kObjectInfoSize>;

// Context settings (keys of GetContext / SetContext).
inline constexpr std::int32_t kContextFlags = 1;       // 32-bit flag word
inline constexpr std::int32_t kContextSetting2 = 2;    // 32-bit value, kept but not interpreted
inline constexpr std::int32_t kContextNameContext = 3; // text: container that relative names start from

// Flag bit the program sets on every context: names are typeless dotted names.
inline constexpr std::uint32_t kFlagTypelessNames = 4;

// Operation code of a request buffer that holds the attributes of a new object.
inline constexpr std::uint32_t kOperationAddEntry = 7;

// Syntax identifiers of the attributes a User is created with.
inline constexpr std::uint32_t kSyntaxCaseIgnoreString = 3; // "Surname"
inline constexpr std::uint32_t kSyntaxBoolean = 7;          // "Password Must Change"
inline constexpr std::uint32_t kSyntaxInteger = 8;          // "UID Number", "GID Number"
inline constexpr std::uint32_t kSyntaxOctetString = 9;      // "Password"
inline constexpr std::uint32_t kSyntaxClassName = 20;       // "Object Class"
inline constexpr std::uint32_t kSyntaxTime = 24;            // "Login Expiration Time"

// Value the last start step never stores: the client has not been started.
inline constexpr std::uint32_t kClientNotStarted = 0xFFFF;

// Iteration handle value meaning "no batch yet" before a call and "no batch follows" after it.
inline constexpr std::int32_t kNoMoreIterations = -1;

// Identity a client reports when nobody is logged in.
inline constexpr const char* kPublicIdentity = "[Public]";
// Name of the top of the tree.
inline constexpr const char* kRootName = "[Root]";
