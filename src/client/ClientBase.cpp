#include "client/ClientBase.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"

#include <algorithm>
#include <cstring>

namespace {
// Handles are 32 bits and never 0 (0 means "no context" to the callers); skip those still in use.
template <typename Map> typename Map::key_type NextFreeHandle(const Map& map, typename Map::key_type* next) {
    while (*next == 0 || map.contains(*next))
        ++*next;
    return (*next)++;
}

// Whether `buffer` was prepared for an add: only then may attributes go in and an object be created.
bool PreparedForAdd(const ClientBuffer& buffer) {
    return buffer.use() == ClientBuffer::Use::kRequest && buffer.operation() == kOperationAddEntry;
}

// The 32-bit value behind setting `key`; null for the name context and for unknown keys.
std::uint32_t* NumericSetting(ClientBase::ContextState& state, std::int32_t key) {
    switch (key) {
    case kContextFlags:
        return &state.flags;
    case kContextSetting2:
        return &state.setting2;
    default:
        return nullptr;
    }
}
} // namespace

NWDSCCODE ClientBase::CreateContext(NWDSContextHandle* context) {
    if (!context)
        return rc::kBadArgument;
    const NWDSContextHandle handle = NextFreeHandle(contexts_, &nextContext_);
    contexts_.emplace(handle, ContextState{});
    *context = handle;
    return rc::kSuccess;
}

NWDSCCODE ClientBase::FreeContext(NWDSContextHandle context) {
    return contexts_.erase(context) ? rc::kSuccess : rc::kBadContext;
}

NWDSCCODE ClientBase::GetContext(NWDSContextHandle context, std::int32_t key, std::uint32_t* value) {
    ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!value)
        return rc::kBadArgument;
    const std::uint32_t* setting = NumericSetting(*state, key);
    if (!setting)
        return rc::kBadKey;
    *value = *setting;
    return rc::kSuccess;
}

NWDSCCODE ClientBase::SetContext(NWDSContextHandle context, std::int32_t key, const void* value) {
    ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!value)
        return rc::kBadArgument;
    if (key == kContextNameContext) {
        state->nameContext = static_cast<const char*>(value);
        return rc::kSuccess;
    }
    std::uint32_t* setting = NumericSetting(*state, key);
    if (!setting)
        return rc::kBadKey;
    std::memcpy(setting, value, sizeof *setting);
    return rc::kSuccess;
}

NWDSCCODE ClientBase::NWDSAllocBuf(std::size_t size, NWBufHandle* buffer) {
    if (!buffer || size != kBufferSize)
        return rc::kBadArgument;
    const NWBufHandle handle = NextFreeHandle(buffers_, &nextBuffer_);
    buffers_.emplace(handle, std::make_unique<ClientBuffer>());
    *buffer = handle;
    return rc::kSuccess;
}

NWDSCCODE ClientBase::FreeBuf(NWBufHandle buffer) {
    return buffers_.erase(buffer) ? rc::kSuccess : rc::kBadBuffer;
}

NWDSCCODE ClientBase::NWDSInitBuf(NWDSContextHandle context, std::uint32_t operation, NWBufHandle buffer) {
    const Handles found = FindHandles(context, buffer);
    if (found.code != rc::kSuccess)
        return found.code;
    found.buffer->Prepare(operation);
    return rc::kSuccess;
}

NWDSCCODE ClientBase::NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* attrName,
                                            std::uint32_t syntax, const void* value) {
    const Handles found = FindHandles(context, buffer);
    if (found.code != rc::kSuccess)
        return found.code;
    if (!attrName || !value)
        return rc::kBadArgument;
    if (!PreparedForAdd(*found.buffer))
        return rc::kWrongOperation;
    if (!found.buffer->AppendAttribute(attrName, syntax, static_cast<const char*>(value)))
        return rc::kBufferFull;
    return rc::kSuccess;
}

NWDSCCODE ClientBase::GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) {
    const Handles found = FindHandles(context, buffer);
    if (found.code != rc::kSuccess)
        return found.code;
    if (!count)
        return rc::kBadArgument;
    if (found.buffer->use() != ClientBuffer::Use::kResults)
        return rc::kWrongOperation;
    *count = found.buffer->count();
    return rc::kSuccess;
}

NWDSCCODE ClientBase::GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* objectName,
                                    std::uint32_t* attrCount, ObjectInfoArea* objectInfo) {
    const Handles found = FindHandles(context, buffer);
    if (found.code != rc::kSuccess)
        return found.code;
    if (!objectName || !attrCount || !objectInfo)
        return rc::kBadArgument;
    if (found.buffer->use() != ClientBuffer::Use::kResults)
        return rc::kWrongOperation;
    std::string_view name;
    std::string_view baseClass;
    if (!found.buffer->ReadEntry(&name, &baseClass))
        return rc::kNoMoreEntries;
    // The areas are fixed and their texts end at the first NUL: an entry that does not fit whole is
    // refused, never cut short.
    if (name.size() >= kEntryNameSize || baseClass.size() >= kObjectInfoSize - kBaseClassOffset ||
        name.find('\0') != std::string_view::npos || baseClass.find('\0') != std::string_view::npos)
        return rc::kEntryNameTooLong;
    std::memcpy(objectName, name.data(), name.size());
    objectName[name.size()] = '\0';
    objectInfo->fill('\0');
    std::copy(baseClass.begin(), baseClass.end(), objectInfo->begin() + kBaseClassOffset);
    *attrCount = 0;
    return rc::kSuccess;
}

ClientBase::Handles ClientBase::FindHandles(NWDSContextHandle context, NWBufHandle buffer) {
    Handles found;
    found.state = FindContext(context);
    if (!found.state) {
        found.code = rc::kBadContext;
        return found;
    }
    found.buffer = FindBuffer(buffer);
    if (!found.buffer)
        found.code = rc::kBadBuffer;
    return found;
}

ClientBase::Handles ClientBase::CheckListingRequest(NWDSContextHandle context, NWBufHandle buffer,
                                                    const char* parentName, const std::int32_t* iterationHandle) {
    Handles found = FindHandles(context, buffer);
    if (found.code == rc::kSuccess && (!parentName || !iterationHandle))
        found.code = rc::kBadArgument;
    return found;
}

NWDSCCODE ClientBase::ReadUserRequest(NWDSContextHandle context, const char* objectName, NWBufHandle buffer,
                                      UserRequest* request) {
    const Handles found = FindHandles(context, buffer);
    if (found.code != rc::kSuccess)
        return found.code;
    const ContextState* state = found.state;
    const ClientBuffer* source = found.buffer;
    if (!objectName)
        return rc::kBadArgument;
    if (!PreparedForAdd(*source))
        return rc::kWrongOperation;

    std::vector<NamePart> path;
    if (const NWDSCCODE code = ResolveObjectPath(*state, objectName, &path); code != rc::kSuccess)
        return code;

    UserRequest read;
    if (const NWDSCCODE code = ReadUserAttributes(*source, &read); code != rc::kSuccess)
        return code;
    if (read.password) {
        if (const NWDSCCODE code = CheckPasswordRequest(read.mustChange); code != rc::kSuccess)
            return code;
    }
    // An expiry this directory cannot keep is refused before anything is sent.
    if (read.expiresAt && !ExpiryAllowed(QueryExpirySupport(), read.posix.has_value()))
        return rc::kExpiryNotSupported;
    read.path = std::move(path);
    *request = std::move(read);
    return rc::kSuccess;
}

NWDSCCODE ClientBase::CheckPasswordRequest(bool mustChange) {
    return PasswordRefusal(QueryPasswordSupport(), mustChange);
}

NWDSCCODE ClientBase::ResolveObjectPath(const ContextState& state, const char* objectName,
                                        std::vector<NamePart>* path) {
    // An empty relative name would name the container itself.
    if (*objectName == '\0')
        return rc::kIllegalName;
    // The new object's own name is one literal value: it has no attribute type to give.
    auto resolved = ResolveName(objectName, state.nameContext);
    if (!resolved || resolved->empty() || !resolved->back().type.empty())
        return rc::kIllegalName;
    if (resolved->back().value.size() > kMaxValueLength)
        return rc::kValueTooLong;
    *path = std::move(*resolved);
    return rc::kSuccess;
}

ClientBase::ContextState* ClientBase::FindContext(NWDSContextHandle context) {
    auto it = contexts_.find(context);
    return it == contexts_.end() ? nullptr : &it->second;
}

ClientBuffer* ClientBase::FindBuffer(NWBufHandle buffer) {
    auto it = buffers_.find(buffer);
    return it == buffers_.end() ? nullptr : it->second.get();
}

NWDSCCODE ClientBase::ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!objectName || !name)
        return rc::kBadArgument;
    std::vector<NamePart> path;
    if (const NWDSCCODE code = ResolveObjectPath(*state, objectName, &path); code != rc::kSuccess)
        return code;
    return DirectoryNameOf(path, name);
}

NWDSCCODE ClientBase::FindTakenLoginNames(NWDSContextHandle context, const std::vector<std::string>& loginNames,
                                          std::vector<std::string>* taken) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!taken)
        return rc::kBadArgument;
    taken->clear();
    if (loginNames.empty())
        return rc::kSuccess;
    const auto container = ResolveName("", state->nameContext);
    if (!container)
        return rc::kIllegalName;
    // The top holds no users.
    if (container->empty())
        return rc::kIllegalContainment;
    return TakenLoginNamesIn(*container, loginNames, taken);
}

NWDSCCODE ClientBase::ReserveUidNumbers(NWDSContextHandle context, std::uint32_t count, const UidRange& range,
                                        UidBlock* block) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!block)
        return rc::kBadArgument;
    *block = UidBlock{};
    if (count == 0)
        return rc::kSuccess;
    if (range.low > range.high || range.high - range.low < count - 1)
        return rc::kUidRangeFull;
    const auto container = ResolveName("", state->nameContext);
    if (!container)
        return rc::kIllegalName;
    if (container->empty())
        return rc::kIllegalContainment;
    return UidNumbersIn(*container, count, range, block);
}
