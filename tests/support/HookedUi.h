#pragma once

#include "directory/DirectoryUi.h"
#include "ui/MessageBoxSeam.h"

#include <QString>

#include <functional>
#include <string>

// Lets a window test act from inside the directory layer's message processing, as a user could:
// install it with SetDirectoryUi; messages still go to the message box seam.
class HookedUi final : public DirectoryUi {
public:
    // Runs on every "let pending messages run", with the number of that call (from 1).
    std::function<void(int call)> onPending;
    int calls = 0;

    void ShowMessage(const std::string& text) override { ShowMessageBox(QString::fromStdString(text)); }
    void ProcessPendingMessages() override {
        ++calls;
        if (onPending)
            onPending(calls);
    }
};
