#pragma once

#include <string>

// What the directory layer needs from the user interface: a modal message box and the chance to
// let pending window messages run. The window provides it; tests provide a recorder.
class DirectoryUi {
public:
    virtual ~DirectoryUi() = default;
    // Shows `text` (CR LF starts a new line) in the modal message box; returns once it is closed.
    virtual void ShowMessage(const std::string& text) = 0;
    // Handles the window messages already queued and returns without waiting for more.
    virtual void ProcessPendingMessages() = 0;
};

// Installs the interface the directory layer reports through (not owned; null restores a silent one).
void SetDirectoryUi(DirectoryUi* ui);
DirectoryUi& Ui();
