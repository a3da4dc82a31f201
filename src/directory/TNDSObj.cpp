#include "directory/TNDSObj.h"

#include "client/BoundClient.h"
#include "directory/DirectoryUi.h"

#include <array>
#include <cstring>

namespace {
// Gives back the cursor's buffer, then its context: the end of every listing.
void ReleaseListing(TNDSObj& obj) {
    if (obj.Buffer != 0)
        Client().FreeBuf(obj.Buffer);
    obj.Buffer = 0;
    if (obj.Context != 0)
        Client().FreeContext(obj.Context);
    obj.Context = 0;
}

// The inner steps of ListFirst and ListNext.
NWDSCCODE ListFetchBatch(TNDSObj& obj) {
    DirectoryClient& client = Client();
    NWDSCCODE result = client.ListSubordinates(obj.Context, obj.ContainerName.c_str(), &obj.IterHandle, obj.Buffer);
    if (result != 0)
        return result;
    std::uint32_t count = 0;
    result = client.GetObjectCount(obj.Context, obj.Buffer, &count);
    obj.BatchCount = static_cast<std::int32_t>(count);
    obj.BatchIndex = 0;
    return result;
}

NWDSCCODE ListReadEntry(TNDSObj& obj) {
    std::array<char, kEntryNameSize> name{};
    // The client writes the entry's attribute count with each read; nothing here needs it.
    std::uint32_t attrCount = 0;
    const NWDSCCODE result = Client().GetObjectName(obj.Context, obj.Buffer, name.data(), &attrCount, &obj.ObjectInfo);
    if (result == 0) {
        name.back() = '\0';
        obj.EntryName = name.data();
    } else {
        obj.EntryName.clear();
    }
    ++obj.BatchIndex;
    return result;
}
} // namespace

TNDSObj::~TNDSObj() {
    if ((Buffer != 0 || Context != 0) && HasBoundClient())
        ReleaseListing(*this);
}

std::string_view TNDSObj::BaseClass() const {
    const char* start = ObjectInfo.data() + kBaseClassOffset;
    return {start, strnlen(start, kObjectInfoSize - kBaseClassOffset)};
}

NWDSCCODE ListFirst(const std::string& name, TNDSObj& obj) {
    // A cursor abandoned in the middle of a listing still holds its resources; give them back first.
    ReleaseListing(obj);
    obj.IterHandle = 0;
    obj.EntryName.clear();
    obj.ContainerName.clear();
    obj.BatchCount = 0;
    obj.BatchIndex = 0;
    obj.ObjectInfo.fill('\0');

    const std::string listingName = (!name.empty() && name.front() == '.') ? name : "." + name;

    DirectoryClient& client = Client();
    NWDSCCODE result = client.CreateContext(&obj.Context);
    if (result != 0) {
        obj.Context = 0;
        return result;
    }
    std::uint32_t flags = 0;
    client.GetContext(obj.Context, kContextFlags, &flags);
    flags |= kFlagTypelessNames;
    client.SetContext(obj.Context, kContextFlags, &flags);
    const std::uint32_t setting2 = 0;
    client.SetContext(obj.Context, kContextSetting2, &setting2);
    const std::string nameContext = listingName.substr(1);
    client.SetContext(obj.Context, kContextNameContext, nameContext.c_str());

    result = client.NWDSAllocBuf(kBufferSize, &obj.Buffer);
    if (result != 0) {
        obj.Buffer = 0;
        ReleaseListing(obj);
        return result;
    }
    obj.IterHandle = kNoMoreIterations;
    obj.ContainerName = listingName;

    result = ListFetchBatch(obj);
    if (result != 0) {
        ReleaseListing(obj);
        return result;
    }
    result = ListReadEntry(obj);
    if (result != 0)
        ReleaseListing(obj);
    return result;
}

NWDSCCODE ListNext(TNDSObj& obj) {
    // A batch that arrives empty is skipped: the caller only ever gets 0 with a freshly read entry.
    while (obj.BatchIndex >= obj.BatchCount) {
        Ui().ProcessPendingMessages();
        if (obj.IterHandle == kNoMoreIterations) {
            ReleaseListing(obj);
            return kListExhausted;
        }
        const NWDSCCODE result = ListFetchBatch(obj);
        if (result != 0) {
            ReleaseListing(obj);
            return result;
        }
    }
    Ui().ProcessPendingMessages();
    const NWDSCCODE result = ListReadEntry(obj);
    if (result != 0)
        ReleaseListing(obj);
    return result;
}
