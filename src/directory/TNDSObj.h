#pragma once

#include "client/ClientTypes.h"

#include <string>
#include <string_view>

// Cursor over the immediate subordinates of one container, batch by batch, on a context and a
// 4096-byte buffer of its own (never DirContext). It holds both only while a listing runs.
struct TNDSObj {
    std::int32_t IterHandle = 0;
    std::string EntryName;     // entry last read, as the client gives it; empty after a failed read
    std::string ContainerName; // container being listed, with its leading "."
    std::int32_t BatchCount = 0;
    std::int32_t BatchIndex = 0;
    ObjectInfoArea ObjectInfo{};
    NWDSContextHandle Context = 0;
    NWBufHandle Buffer = 0;

    TNDSObj() = default;
    TNDSObj(const TNDSObj&) = delete;
    TNDSObj& operator=(const TNDSObj&) = delete;
    // A listing abandoned half way (the window closed during a scan) still gives back its
    // buffer and context.
    ~TNDSObj();

    // Base-class name of the entry last read, 12 bytes into the object information.
    std::string_view BaseClass() const;
};

// Starts listing `name` (a "." is put in front when missing) and reads the first entry.
// 0 when an entry was read; otherwise the client's code, and the cursor holds nothing.
NWDSCCODE ListFirst(const std::string& name, TNDSObj& obj);
// Reads the next entry: 0 with a freshly read entry, -1 when the listing is exhausted, else the
// client's code. After any nonzero result the cursor holds nothing.
NWDSCCODE ListNext(TNDSObj& obj);

// Value ListNext returns when the listing is exhausted.
inline constexpr NWDSCCODE kListExhausted = -1;
