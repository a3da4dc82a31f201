#pragma once

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

struct RequestAttribute {
    std::string name;
    std::uint32_t syntax;
    std::string value;
};

inline EmbeddedOptions OptionsAt(const std::string& path) {
    EmbeddedOptions options;
    options.path = path;
    options.sample = false;
    return options;
}

// Adds one object through the client interface, the way the directory layer does, on a context
// whose name context is `container`.
inline NWDSCCODE AddObject(DirectoryClient& client, const std::string& container, const std::string& name,
                           const std::vector<RequestAttribute>& attributes) {
    NWDSContextHandle context = 0;
    NWBufHandle buffer = 0;
    NWDSCCODE code = client.CreateContext(&context);
    if (code == 0)
        code = client.SetContext(context, kContextNameContext, container.c_str());
    if (code == 0)
        code = client.NWDSAllocBuf(kBufferSize, &buffer);
    if (code == 0)
        code = client.NWDSInitBuf(context, kOperationAddEntry, buffer);
    for (const RequestAttribute& attribute : attributes)
        if (code == 0)
            code = client.NWDSPutAttrNameAndVal(context, buffer, attribute.name.c_str(), attribute.syntax,
                                                attribute.value.c_str());
    std::int32_t iteration = kNoMoreIterations;
    if (code == 0)
        code = client.NWDSAddObject(context, name.c_str(), &iteration, 0, buffer);
    if (buffer)
        client.FreeBuf(buffer);
    if (context)
        client.FreeContext(context);
    return code;
}

inline NWDSCCODE AddUser(DirectoryClient& client, const std::string& container, const std::string& name,
                         const std::string& surname) {
    return AddObject(client, container, name,
                     {{"Object Class", kSyntaxClassName, "User"}, {"Surname", kSyntaxCaseIgnoreString, surname}});
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
