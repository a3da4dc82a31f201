#pragma once

#include "AddRequest.h"
#include "DirectoryBinding.h"
#include "RecordingUi.h"
#include "StoreView.h"
#include "StoreWriter.h"
#include "TempFolder.h"
#include "client/ResultCodes.h"
#include "client/embedded/EmbeddedClient.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

inline EmbeddedOptions OptionsAt(const std::string& path) {
    EmbeddedOptions options;
    options.path = path;
    options.sample = false;
    return options;
}

// A fresh store in a temporary folder, without the sample unless asked for, and its file's view.
class EmbeddedTest : public ::testing::Test {
protected:
    std::string StorePath() const { return folder.path() + "/data/quillbarrow/directory.db"; }

    // Options for this test's store; a new store gets the sample tree only when asked for.
    EmbeddedOptions Options(bool sample = false) const {
        EmbeddedOptions options;
        options.path = StorePath();
        options.sample = sample;
        return options;
    }

    std::unique_ptr<EmbeddedClient> OpenStore(const EmbeddedOptions& options) {
        auto client = std::make_unique<EmbeddedClient>(options);
        EXPECT_EQ(client->StartClientLibrary(nullptr, nullptr), 0) << options.path;
        return client;
    }
    std::unique_ptr<EmbeddedClient> OpenStore() { return OpenStore(Options()); }
    std::unique_ptr<EmbeddedClient> OpenSampleStore() { return OpenStore(Options(true)); }

    // Puts one fixture entry into the store beside any client (a writer of its own; loops over
    // many entries keep one StoreWriter instead).
    NWDSCCODE AddEntry(const std::string& dottedName, const std::string& baseClass,
                       const std::optional<std::string>& surname = std::nullopt) {
        return StoreWriter(StorePath()).Add(dottedName, baseClass, surname);
    }

    // Binds `client` for the directory layer and runs its start-up, as the window does.
    void BindAndStart(std::unique_ptr<EmbeddedClient> client) { ::BindAndStart(std::move(client), ui); }
    void TearDown() override { ShutDownAndUnbind(); }

    TempFolder folder;
    RecordingUi ui;
    StoreView view{StorePath()};
};
