#include "directory/SharedContext.h"

#include "client/BoundClient.h"

NWDSContextHandle DirContext = 0;
NWDSCCODE LastDirResult = 0;
std::uint32_t ClientHandle = kClientNotStarted;

NWDSCCODE SetNameContext(NWDSContextHandle context, const std::string& name) {
    return Client().SetContext(context, kContextNameContext, name.c_str());
}

void ResetDirectoryState() {
    DirContext = 0;
    LastDirResult = 0;
    ClientHandle = kClientNotStarted;
}
