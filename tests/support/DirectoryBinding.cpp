#include "DirectoryBinding.h"

#include "BoundClient.h"
#include "DirectoryStartUp.h"
#include "SharedContext.h"

void BindAndStart(std::unique_ptr<DirectoryClient> client, DirectoryUi& ui) {
    ResetDirectoryState();
    BindClient(std::move(client));
    SetDirectoryUi(&ui);
    DirectoryStartUp();
}

std::unique_ptr<DirectoryClient> ShutDownAndUnbind() {
    std::unique_ptr<DirectoryClient> client;
    if (HasBoundClient()) {
        DirectoryShutDown();
        client = UnbindClient();
    }
    SetDirectoryUi(nullptr);
    ResetDirectoryState();
    return client;
}
