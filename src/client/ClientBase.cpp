#include "ClientBase.h"

#include "DottedName.h"
#include "ResultCodes.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {
// Handles are 32 bits and never 0 (0 means "no context" to the callers); skip those still in use.
template <typename Map> typename Map::key_type NextFreeHandle(const Map& map, typename Map::key_type* next) {
    while (*next == 0 || map.contains(*next))
        ++*next;
    return (*next)++;
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
    switch (key) {
    case kContextFlags:
        *value = state->flags;
        return rc::kSuccess;
    case kContextSetting2:
        *value = state->setting2;
        return rc::kSuccess;
    default:
        return rc::kBadKey;
    }
}

NWDSCCODE ClientBase::SetContext(NWDSContextHandle context, std::int32_t key, const void* value) {
    ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    if (!value)
        return rc::kBadArgument;
    switch (key) {
    case kContextFlags:
        std::memcpy(&state->flags, value, sizeof state->flags);
        return rc::kSuccess;
    case kContextSetting2:
        std::memcpy(&state->setting2, value, sizeof state->setting2);
        return rc::kSuccess;
    case kContextNameContext:
        state->nameContext = static_cast<const char*>(value);
        return rc::kSuccess;
    default:
        return rc::kBadKey;
    }
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
    if (!FindContext(context))
        return rc::kBadContext;
    ClientBuffer* target = FindBuffer(buffer);
    if (!target)
        return rc::kBadBuffer;
    target->Prepare(operation);
    return rc::kSuccess;
}

NWDSCCODE ClientBase::NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* attrName,
                                            std::uint32_t syntax, const void* value) {
    if (!FindContext(context))
        return rc::kBadContext;
    ClientBuffer* target = FindBuffer(buffer);
    if (!target)
        return rc::kBadBuffer;
    if (!attrName || !value)
        return rc::kBadArgument;
    if (target->operation() != kOperationAddEntry)
        return rc::kWrongOperation;
    if (!target->AppendAttribute(attrName, syntax, static_cast<const char*>(value)))
        return rc::kBufferFull;
    return rc::kSuccess;
}

NWDSCCODE ClientBase::GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) {
    if (!FindContext(context))
        return rc::kBadContext;
    ClientBuffer* source = FindBuffer(buffer);
    if (!source)
        return rc::kBadBuffer;
    if (!count)
        return rc::kBadArgument;
    *count = source->count();
    return rc::kSuccess;
}

NWDSCCODE ClientBase::GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* objectName,
                                    std::uint32_t* attrCount, ObjectInfoArea* objectInfo) {
    if (!FindContext(context))
        return rc::kBadContext;
    ClientBuffer* source = FindBuffer(buffer);
    if (!source)
        return rc::kBadBuffer;
    if (!objectName || !attrCount || !objectInfo)
        return rc::kBadArgument;
    std::string_view name;
    std::string_view baseClass;
    if (!source->ReadEntry(&name, &baseClass))
        return rc::kNoMoreEntries;
    // The areas are fixed: an entry that does not fit is refused, never cut short.
    if (name.size() >= kEntryNameSize || baseClass.size() >= kObjectInfoSize - kBaseClassOffset)
        return rc::kEntryNameTooLong;
    std::memcpy(objectName, name.data(), name.size());
    objectName[name.size()] = '\0';
    objectInfo->fill('\0');
    std::copy(baseClass.begin(), baseClass.end(), objectInfo->begin() + kBaseClassOffset);
    *attrCount = 0;
    return rc::kSuccess;
}

NWDSCCODE ClientBase::ReadUserRequest(NWDSContextHandle context, const char* objectName, NWBufHandle buffer,
                                      UserRequest* request) {
    const ContextState* state = FindContext(context);
    if (!state)
        return rc::kBadContext;
    const ClientBuffer* source = FindBuffer(buffer);
    if (!source)
        return rc::kBadBuffer;
    if (!objectName)
        return rc::kBadArgument;
    if (source->operation() != kOperationAddEntry)
        return rc::kWrongOperation;

    // An empty relative name would name the container itself.
    if (*objectName == '\0')
        return rc::kIllegalName;
    auto path = ResolveName(objectName, state->nameContext);
    if (!path || path->empty())
        return rc::kIllegalName;
    if (path->back().size() > kMaxValueLength)
        return rc::kValueTooLong;

    std::optional<std::string> objectClass;
    std::optional<std::string> surname;
    for (const ClientBuffer::Attribute& attribute : source->Attributes()) {
        if (attribute.value.size() > kMaxValueLength)
            return rc::kValueTooLong;
        // Both attributes hold one value; a User carries nothing else.
        if (attribute.name == "Object Class" && attribute.syntax == kSyntaxClassName && !objectClass)
            objectClass = attribute.value;
        else if (attribute.name == "Surname" && attribute.syntax == kSyntaxCaseIgnoreString && !surname)
            surname = attribute.value;
        else
            return rc::kSyntaxViolation;
    }
    if (!objectClass || !surname || surname->empty())
        return rc::kMissingMandatory;
    if (*objectClass != "User")
        return rc::kSyntaxViolation;
    request->path = std::move(*path);
    request->surname = std::move(*surname);
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
