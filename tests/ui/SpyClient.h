#pragma once

#include "client/embedded/EmbeddedClient.h"

#include <functional>
#include <string>
#include <vector>

// The embedded directory, noting which context each of its calls on a context used, so tests
// can tell that nothing touched a context after it was released.
class SpyClient final : public EmbeddedClient {
public:
    struct Call {
        std::string operation;
        NWDSContextHandle context = 0;
        std::string text; // name context set, or name listed
    };

    using EmbeddedClient::EmbeddedClient;

    std::vector<Call> calls;
    // Called with the name of each add before the store sees it.
    std::function<void(const std::string& name)> beforeAdd;

    // Calls that used `context` after it was released.
    std::vector<Call> UsesAfterRelease(NWDSContextHandle context) const;
    // Calls of `operation`.
    std::size_t Count(const std::string& operation) const;
    // Name contexts set on `context`, in order.
    std::vector<std::string> NameContextsSet(NWDSContextHandle context) const;

    NWDSCCODE CreateContext(NWDSContextHandle* context) override;
    NWDSCCODE FreeContext(NWDSContextHandle context) override;
    NWDSCCODE GetContext(NWDSContextHandle context, std::int32_t key, std::uint32_t* value) override;
    NWDSCCODE SetContext(NWDSContextHandle context, std::int32_t key, const void* value) override;
    NWDSCCODE NWDSInitBuf(NWDSContextHandle context, std::uint32_t operation, NWBufHandle buffer) override;
    NWDSCCODE NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* attrName,
                                    std::uint32_t syntax, const void* value) override;
    NWDSCCODE NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t* iterationHandle,
                            std::uint8_t more, NWBufHandle buffer) override;
    NWDSCCODE ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                               NWBufHandle buffer) override;
    NWDSCCODE GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) override;
    NWDSCCODE GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* objectName, std::uint32_t* attrCount,
                            ObjectInfoArea* objectInfo) override;
    NWDSCCODE WhoAmI(NWDSContextHandle context, char* identity) override;
    NWDSCCODE ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) override;

private:
    void Note(const char* operation, NWDSContextHandle context, std::string text = {});
};
