#pragma once

#include "directory/DirectoryUi.h"

// The directory layer's messages on standard error, one line per CR LF; there are no window
// messages to run.
class TerminalUi final : public DirectoryUi {
public:
    void ShowMessage(const std::string& text) override;
    void ProcessPendingMessages() override {}
};
