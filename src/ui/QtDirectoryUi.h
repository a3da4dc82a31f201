#pragma once

#include "directory/DirectoryUi.h"

// The directory layer's view of the window: its messages go to the message box seam, and
// "let pending messages run" handles the events already queued, without waiting for more.
class QtDirectoryUi final : public DirectoryUi {
public:
    void ShowMessage(const std::string& text) override;
    void ProcessPendingMessages() override;
};
