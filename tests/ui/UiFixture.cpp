#include "UiFixture.h"

#include "StoreWriter.h"

std::vector<FixtureEntry> AcmeTree() {
    return {
        {"Acme", "Organization"},    {"Sales.Acme", "Organizational Unit"}, {"East.Sales.Acme", "Organizational Unit"},
        {"jdoe.Sales.Acme", "User"}, {"laser.Sales.Acme", "Printer"},
    };
}

void UiTest::StartWindow(const std::vector<FixtureEntry>& entries, bool anonymous) {
    ASSERT_FALSE(folder_.path().empty());
    // Nothing the window does may reach the user's own store.
    environment_.Set("XDG_DATA_HOME", folder_.path());
    StoreWriter writer(storePath_);
    for (const auto& [name, baseClass] : entries) {
        const auto surname = baseClass == "User" ? std::optional<std::string>("Fixture") : std::nullopt;
        ASSERT_EQ(writer.Add(name, baseClass, surname), 0) << name;
    }

    EmbeddedOptions options;
    options.path = storePath_;
    options.anonymous = anonymous;
    options.sample = false;
    auto recorder = std::make_unique<SpyClient>(options);
    recorder_ = recorder.get();
    OpenWindow(std::move(recorder));
}

NWDSCCODE UiTest::AddEntry(const std::string& name, const std::string& baseClass,
                           const std::optional<std::string>& surname) {
    return StoreWriter(storePath_).Add(name, baseClass, surname);
}

std::vector<std::string> UiTest::Children(const std::string& dottedName) const {
    return view_.Children(dottedName).value_or(std::vector<std::string>{});
}
