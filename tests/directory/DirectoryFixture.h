#pragma once

#include "RecordingClient.h"
#include "RecordingUi.h"
#include "client/BoundClient.h"
#include "directory/SharedContext.h"

#include <gtest/gtest.h>

#include <memory>

// Binds a fresh recording client and recorder for each test and puts the process-wide values back.
class DirectoryFixture : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<RecordingClient>();
        client = owned.get();
        BindClient(std::move(owned));
        ui.callLog = &client->calls;
        SetDirectoryUi(&ui);
        ResetDirectoryState();
    }
    void TearDown() override {
        SetDirectoryUi(nullptr);
        UnbindClient();
        ResetDirectoryState();
    }

    RecordingClient* client = nullptr;
    RecordingUi ui;
};
