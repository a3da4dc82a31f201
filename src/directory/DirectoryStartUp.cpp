#include "directory/DirectoryStartUp.h"

#include "client/BoundClient.h"
#include "directory/DirectoryUi.h"
#include "directory/SharedContext.h"

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
