#pragma once

#include "client/DirectoryClient.h"

#include <string>
#include <vector>

struct RequestAttribute {
    std::string name;
    std::uint32_t syntax;
    std::string value;
};

// Adds one object through the client interface, the way the directory layer does, on a context
// whose name context is `container`.
inline NWDSCCODE AddObject(DirectoryClient& client, const std::string& container, const std::string& name,
                           const std::vector<RequestAttribute>& attributes) {
    NWDSContextHandle context = 0;
    NWBufHandle buffer = 0;
    NWDSCCODE code = client.CreateContext(&context);
    if (code == 0)
        code = client.SetContext(context, kContextNameContext, container.c_str());
    if (code == 0)
        code = client.NWDSAllocBuf(kBufferSize, &buffer);
    if (code == 0)
        code = client.NWDSInitBuf(context, kOperationAddEntry, buffer);
    for (const RequestAttribute& attribute : attributes)
        if (code == 0)
            code = client.NWDSPutAttrNameAndVal(context, buffer, attribute.name.c_str(), attribute.syntax,
                                                attribute.value.c_str());
    std::int32_t iteration = kNoMoreIterations;
    if (code == 0)
        code = client.NWDSAddObject(context, name.c_str(), &iteration, 0, buffer);
    if (buffer)
        client.FreeBuf(buffer);
    if (context)
        client.FreeContext(context);
    return code;
}

inline NWDSCCODE AddUser(DirectoryClient& client, const std::string& container, const std::string& name,
                         const std::string& surname) {
    return AddObject(client, container, name,
                     {{"Object Class", kSyntaxClassName, "User"}, {"Surname", kSyntaxCaseIgnoreString, surname}});
}
