#include "directory/DirectoryUi.h"

namespace {
// Used until the window installs its own: shows nothing, has no messages to run.
class SilentUi final : public DirectoryUi {
public:
    void ShowMessage(const std::string&) override {}
    void ProcessPendingMessages() override {}
};

SilentUi silentUi;
DirectoryUi* installedUi = &silentUi;
} // namespace

void SetDirectoryUi(DirectoryUi* ui) {
    installedUi = ui ? ui : &silentUi;
}

DirectoryUi& Ui() {
    return *installedUi;
}
