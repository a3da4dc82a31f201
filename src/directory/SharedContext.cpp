#include "SharedContext.h"

#include "BoundClient.h"
#include "DirectoryUi.h"

#include <array>
#include <cstdio>

NWDSContextHandle DirContext = 0;
NWDSCCODE LastDirResult = 0;
std::uint32_t ClientHandle = kClientNotStarted;

NWCCODE InitNetWareClient() {
    if (ClientHandle != kClientNotStarted)
        return 0;
    DirectoryClient& client = Client();
    NWCCODE result = client.StartClientLibrary(nullptr, nullptr);
    if (result != 0) {
        Ui().ShowMessage("Could not Initialize NetWare Client");
        return result;
    }
    std::uint32_t scope = 0;
    result = client.OpenClientScope(&scope);
    if (result != 0)
        return result;
    return client.AttachClient(scope, 1, 0, &ClientHandle);
}

std::string GetIdentityName(NWDSContextHandle context) {
    std::array<char, kIdentitySize> identity{};
    if (Client().WhoAmI(context, identity.data()) != 0)
        return {};
    identity.back() = '\0';
    return identity.data();
}

bool CheckNDSError(NWDSCCODE code, const std::string& label) {
    if (code == 0)
        return false;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(code)));
    Ui().ShowMessage("Error Code " + std::string(hex) + " - " + label);
    return true;
}

NWDSCCODE SetNameContext(NWDSContextHandle context, const std::string& name) {
    return Client().SetContext(context, kContextNameContext, name.c_str());
}

void DirectoryStartUp() {
    DirectoryClient& client = Client();
    client.StartClientLibrary(nullptr, nullptr);
    InitNetWareClient();
    client.CreateContext(&DirContext);
    std::uint32_t flags = 0;
    client.GetContext(DirContext, kContextFlags, &flags);
    flags |= kFlagTypelessNames;
    client.SetContext(DirContext, kContextFlags, &flags);
    LastDirResult = SetNameContext(DirContext, kRootName);
}

void DirectoryShutDown() {
    if (DirContext != 0)
        Client().FreeContext(DirContext);
    DirContext = 0;
}

void ResetDirectoryState() {
    DirContext = 0;
    LastDirResult = 0;
    ClientHandle = kClientNotStarted;
}
