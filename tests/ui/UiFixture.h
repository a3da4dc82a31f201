#pragma once

#include "EnvironmentGuard.h"
#include "SpyClient.h"
#include "StoreView.h"
#include "TempFolder.h"
#include "WindowTest.h"

#include <memory>
#include <string>
#include <vector>

// One entry a test puts into the store before the window starts: dotted name from the top.
struct FixtureEntry {
    std::string name;
    std::string baseClass;
};

// Acme (Organization) > Sales (Organizational Unit) > East (Organizational Unit), with a user
// and a printer in Sales: 3 containers, 5 objects.
std::vector<FixtureEntry> AcmeTree();

// The window on the real embedded directory in a fresh temporary store, noted by a spy.
class UiTest : public WindowTest {
protected:
    // Creates the store holding `entries`, binds it and creates the form.
    void StartWindow(const std::vector<FixtureEntry>& entries, bool anonymous = false);
    // Adds one more entry to the store, beside the client.
    NWDSCCODE AddEntry(const std::string& name, const std::string& baseClass,
                       const std::optional<std::string>& surname = std::nullopt);
    // Names the store's file holds below `dottedName`.
    std::vector<std::string> Children(const std::string& dottedName) const;

    TempFolder folder_;
    EnvironmentGuard environment_;
    std::string storePath_ = folder_.path() + "/directory.db";
    StoreView view_{storePath_};
    SpyClient* recorder_ = nullptr; // owned by the binding
};
