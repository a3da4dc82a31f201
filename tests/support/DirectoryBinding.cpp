#include "DirectoryBinding.h"

#include "client/BoundClient.h"
#include "directory/DirectoryStartUp.h"
#include "directory/SharedContext.h"

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
