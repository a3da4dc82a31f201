#pragma once

#include "directory/DirectoryUi.h"

#include <string>
#include <vector>

// Records every message box and counts how often pending messages were let run.
class RecordingUi : public DirectoryUi {
public:
    std::vector<std::string> messages;
    int pumps = 0;
    std::vector<std::string>* callLog = nullptr; // when set, pumps are logged among the client calls

    void ShowMessage(const std::string& text) override {
        messages.push_back(text);
        if (callLog)
            callLog->push_back("Message(" + text + ")");
    }
    void ProcessPendingMessages() override {
        ++pumps;
        if (callLog)
            callLog->push_back("Pump");
    }
};
