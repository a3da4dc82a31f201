#include "SpyClient.h"

#include <algorithm>

void SpyClient::Note(const char* operation, NWDSContextHandle context, std::string text) {
    calls.push_back(Call{operation, context, std::move(text)});
}

std::vector<SpyClient::Call> SpyClient::UsesAfterRelease(NWDSContextHandle context) const {
    std::vector<Call> uses;
    bool released = false;
    for (const Call& call : calls) {
        if (call.context != context)
            continue;
        if (released)
            uses.push_back(call);
        if (call.operation == "FreeContext")
            released = true;
    }
    return uses;
}

std::vector<std::string> SpyClient::NameContextsSet(NWDSContextHandle context) const {
    std::vector<std::string> names;
    for (const Call& call : calls) {
        if (call.context == context && call.operation == "SetNameContext")
            names.push_back(call.text);
    }
    return names;
}

NWDSCCODE SpyClient::CreateContext(NWDSContextHandle* context) {
    const NWDSCCODE result = EmbeddedClient::CreateContext(context);
    Note("CreateContext", context ? *context : 0);
    return result;
}

NWDSCCODE SpyClient::FreeContext(NWDSContextHandle context) {
    Note("FreeContext", context);
    return EmbeddedClient::FreeContext(context);
}

NWDSCCODE SpyClient::GetContext(NWDSContextHandle context, std::int32_t key, std::uint32_t* value) {
    Note("GetContext", context);
    return EmbeddedClient::GetContext(context, key, value);
}

NWDSCCODE SpyClient::SetContext(NWDSContextHandle context, std::int32_t key, const void* value) {
    if (key == kContextNameContext && value)
        Note("SetNameContext", context, static_cast<const char*>(value));
    else
        Note("SetContext", context);
    return EmbeddedClient::SetContext(context, key, value);
}

NWDSCCODE SpyClient::NWDSInitBuf(NWDSContextHandle context, std::uint32_t operation, NWBufHandle buffer) {
    Note("NWDSInitBuf", context);
    return EmbeddedClient::NWDSInitBuf(context, operation, buffer);
}

NWDSCCODE SpyClient::NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* attrName,
                                           std::uint32_t syntax, const void* value) {
    Note("NWDSPutAttrNameAndVal", context);
    return EmbeddedClient::NWDSPutAttrNameAndVal(context, buffer, attrName, syntax, value);
}

NWDSCCODE SpyClient::NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t* iterationHandle,
                                   std::uint8_t more, NWBufHandle buffer) {
    Note("NWDSAddObject", context, objectName ? objectName : "");
    if (beforeAdd)
        beforeAdd(objectName ? objectName : "");
    return EmbeddedClient::NWDSAddObject(context, objectName, iterationHandle, more, buffer);
}

NWDSCCODE SpyClient::ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                                      NWBufHandle buffer) {
    Note("ListSubordinates", context, parentName ? parentName : "");
    return EmbeddedClient::ListSubordinates(context, parentName, iterationHandle, buffer);
}

NWDSCCODE SpyClient::GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) {
    Note("GetObjectCount", context);
    return EmbeddedClient::GetObjectCount(context, buffer, count);
}

NWDSCCODE SpyClient::GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* objectName,
                                   std::uint32_t* attrCount, ObjectInfoArea* objectInfo) {
    Note("GetObjectName", context);
    return EmbeddedClient::GetObjectName(context, buffer, objectName, attrCount, objectInfo);
}

NWDSCCODE SpyClient::WhoAmI(NWDSContextHandle context, char* identity) {
    Note("WhoAmI", context);
    return EmbeddedClient::WhoAmI(context, identity);
}

NWDSCCODE SpyClient::ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) {
    Note("ObjectDirectoryName", context, objectName ? objectName : "");
    return EmbeddedClient::ObjectDirectoryName(context, objectName, name);
}

std::size_t SpyClient::Count(const std::string& operation) const {
    return static_cast<std::size_t>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& call) { return call.operation == operation; }));
}
