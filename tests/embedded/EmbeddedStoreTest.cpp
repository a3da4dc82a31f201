#include "EmbeddedFixture.h"
#include "EnvironmentGuard.h"
#include "client/embedded/EmbeddedStorePath.h"
#include "directory/GetIdentityName.h"
#include "directory/SharedContext.h"

#include <gmock/gmock.h>
#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using ::testing::ElementsAre;

namespace {
mode_t ModeOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

std::string Identity(EmbeddedClient& client) {
    NWDSContextHandle context = 0;
    EXPECT_EQ(client.CreateContext(&context), 0);
    std::array<char, kIdentitySize> identity{};
    const NWDSCCODE code = client.WhoAmI(context, identity.data());
    client.FreeContext(context);
    return code == 0 ? identity.data() : "error " + std::to_string(code);
}
} // namespace

using EmbeddedStoreTest = EmbeddedTest;

TEST_F(EmbeddedStoreTest, NewStoreHoldsTheSampleTreeAndIsPrivate) {
    auto client = OpenSampleStore();
    EXPECT_THAT(*view.Children("[Root]"), ElementsAre("Acme", "US"));
    EXPECT_THAT(*view.Children("Acme"), ElementsAre("Sales", "Admin"));
    EXPECT_THAT(*view.Children("Sales.Acme"), ElementsAre("East", "JSmith", "Laser1"));
    EXPECT_EQ(view.Surname("Admin.Acme"), "Administrator");
    EXPECT_EQ(Identity(*client), "Admin.Acme");
    EXPECT_EQ(view.IntegrityCheck(), "ok");

    EXPECT_EQ(ModeOf(StorePath()), 0600u);
    EXPECT_EQ(ModeOf(folder.path() + "/data/quillbarrow"), 0700u);
    // The write-ahead log holds the same data as the store: it must be as private.
    ASSERT_EQ(AddUser(*client, "Acme", "u1", "S"), 0);
    EXPECT_EQ(ModeOf(StorePath() + "-wal"), 0600u);
}

TEST_F(EmbeddedStoreTest, DataSurvivesClosingAndReopeningWithoutASecondSample) {
    {
        auto client = OpenSampleStore();
        ASSERT_EQ(AddUser(*client, "East.Sales.Acme", "kept", "Keeper"), 0);
    }
    auto reopened = OpenSampleStore();
    EXPECT_EQ(view.Surname("kept.East.Sales.Acme"), "Keeper");
    EXPECT_THAT(*view.Children("[Root]"), ElementsAre("Acme", "US"));
    EXPECT_EQ(view.IntegrityCheck(), "ok");
}

TEST_F(EmbeddedStoreTest, StartStepsAndOperationsBeforeStart) {
    EmbeddedClient client(Options());
    std::uint32_t scope = 0;
    EXPECT_NE(client.OpenClientScope(&scope), 0);
    EXPECT_EQ(Identity(client), "error " + std::to_string(rc::kNotStarted));
    EXPECT_EQ(AddUser(client, "Acme", "u1", "S"), rc::kNotStarted);

    EXPECT_EQ(client.StartClientLibrary(nullptr, nullptr), 0);
    EXPECT_EQ(client.StartClientLibrary(nullptr, nullptr), 0);
    ASSERT_EQ(client.OpenClientScope(&scope), 0);
    std::uint32_t handle = kClientNotStarted;
    EXPECT_EQ(client.AttachClient(scope, 1, 0, &handle), 0);
    EXPECT_NE(handle, kClientNotStarted);
}

TEST_F(EmbeddedStoreTest, UnusableStoreFailsTheFirstStartStepAndTheLayerSaysSo) {
    // A folder where the store's file should be, and a file that is no database.
    std::filesystem::create_directories(StorePath());
    EmbeddedClient onFolder(Options());
    EXPECT_NE(onFolder.StartClientLibrary(nullptr, nullptr), 0);

    const std::string junk = folder.path() + "/junk.db";
    std::ofstream(junk) << "this is not a database, it is a long enough text file to be read as one";
    EmbeddedClient onJunk(OptionsAt(junk));
    EXPECT_NE(onJunk.StartClientLibrary(nullptr, nullptr), 0);

    BindAndStart(std::make_unique<EmbeddedClient>(OptionsAt(junk)));
    EXPECT_THAT(ui.messages, ElementsAre("Could not Initialize NetWare Client"));
    EXPECT_EQ(ClientHandle, kClientNotStarted);
    EXPECT_EQ(GetIdentityName(DirContext), "");
}

TEST_F(EmbeddedStoreTest, AnonymousIsPublicAndMayNotAdd) {
    EmbeddedOptions options = Options(true);
    options.anonymous = true;
    auto client = OpenStore(options);
    EXPECT_EQ(Identity(*client), kPublicIdentity);
    EXPECT_EQ(AddUser(*client, "Acme", "u1", "S"), rc::kNoAccess);
    EXPECT_EQ(view.Children("Acme")->size(), 2u);
}

TEST_F(EmbeddedStoreTest, AddRefusalsEachHaveTheirOwnCode) {
    auto client = OpenStore();
    ASSERT_EQ(AddEntry("Acme", "Organization"), 0);
    ASSERT_EQ(AddEntry("Sales.Acme", "Organizational Unit"), 0);
    ASSERT_EQ(AddUser(*client, "Sales.Acme", "Mary", "Major"), 0);
    const std::string longest(kMaxValueLength, 'n');

    EXPECT_EQ(AddUser(*client, "Sales.Acme", "Mary", "Other"), rc::kEntryAlreadyExists);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "mARY", "Other"), rc::kEntryAlreadyExists);
    EXPECT_EQ(AddEntry("ACME", "Organization"), rc::kEntryAlreadyExists);
    EXPECT_EQ(AddUser(*client, "Nowhere.Acme", "u1", "S"), rc::kNoSuchEntry);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "u1.Missing", "S"), rc::kNoSuchEntry);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "", "S"), rc::kIllegalName);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "a..b", "S"), rc::kIllegalName);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", longest + "x", "S"), rc::kValueTooLong);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "u2", longest + "x"), rc::kValueTooLong);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "u3", ""), rc::kMissingMandatory);
    EXPECT_EQ(AddUser(*client, "Mary.Sales.Acme", "u4", "S"), rc::kIllegalContainment);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", ".u5.Mary.Sales.Acme", "S"), rc::kIllegalContainment);
    // The top holds containers only, as on an LDAP server.
    EXPECT_EQ(AddUser(*client, "[Root]", "u10", "S"), rc::kIllegalContainment);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", ".u11", "S"), rc::kIllegalContainment);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "u12.[Root]", "S"), rc::kIllegalContainment);
    // Names in the store have no attribute types; a typed name is not one of its names.
    EXPECT_EQ(AddUser(*client, "ou=Sales.Acme", "u13", "S"), rc::kIllegalName);
    EXPECT_EQ(AddUser(*client, "Sales.Acme", "cn=u14", "S"), rc::kIllegalName);

    const RequestAttribute user{"Object Class", kSyntaxClassName, "User"};
    const RequestAttribute surname{"Surname", kSyntaxCaseIgnoreString, "S"};
    EXPECT_EQ(AddObject(*client, "Sales.Acme", "u6", {surname}), rc::kMissingMandatory);
    EXPECT_EQ(AddObject(*client, "Sales.Acme", "u7", {user}), rc::kMissingMandatory);
    EXPECT_EQ(AddObject(*client, "Sales.Acme", "u8", {{"Object Class", kSyntaxClassName, "Printer"}, surname}),
              rc::kSyntaxViolation);
    EXPECT_EQ(AddObject(*client, "Sales.Acme", "u9", {user, {"Surname", kSyntaxClassName, "S"}}), rc::kSyntaxViolation);
    // Exactly 256 bytes fit.
    EXPECT_EQ(AddUser(*client, "Sales.Acme", longest, longest), 0);
    EXPECT_EQ(view.Surname(longest + ".Sales.Acme"), longest);
    EXPECT_THAT(*view.Children("Sales.Acme"), ElementsAre("Mary", longest));
}

TEST_F(EmbeddedStoreTest, StoreFolderOthersMayWriteToOrThatIsNotOursIsRefused) {
    const std::string storeFolder = folder.path() + "/data/quillbarrow";
    std::filesystem::create_directories(storeFolder);
    const auto refused = static_cast<NWCCODE>(rc::kStoreUnavailable);
    for (const mode_t mode : {0770, 0702, 0777}) {
        ASSERT_EQ(chmod(storeFolder.c_str(), mode), 0);
        EmbeddedClient client(Options());
        EXPECT_EQ(client.StartClientLibrary(nullptr, nullptr), refused) << std::oct << mode;
    }
    EXPECT_FALSE(std::filesystem::exists(StorePath()));
    if (geteuid() == 0) {
        ASSERT_EQ(chmod(storeFolder.c_str(), 0700), 0);
        ASSERT_EQ(chown(storeFolder.c_str(), 65534, 65534), 0);
        EmbeddedClient client(Options());
        EXPECT_EQ(client.StartClientLibrary(nullptr, nullptr), refused);
        ASSERT_EQ(chown(storeFolder.c_str(), 0, 0), 0);
    }
    ASSERT_EQ(chmod(storeFolder.c_str(), 0755), 0);
    auto client = OpenStore();
    EXPECT_EQ(ModeOf(StorePath()), 0600u);
}

// The folder and the file are checked as opened: a link at either is refused, whatever it leads to,
// and a store others could read (an old one, or one a copy left readable) is made owner-only.
TEST_F(EmbeddedStoreTest, StoreReachedThroughALinkIsRefusedAndAReadableOneIsTightened) {
    namespace fs = std::filesystem;
    const std::string storeFolder = folder.path() + "/data/quillbarrow";
    OpenStore().reset();
    ASSERT_EQ(chmod(StorePath().c_str(), 0644), 0);
    WriteFile(storeFolder, "directory.db-wal", "", 0644);
    auto opened = OpenStore();
    EXPECT_EQ(ModeOf(StorePath()), 0600u);
    EXPECT_EQ(ModeOf(StorePath() + "-wal"), 0600u);
    opened.reset();

    const auto refused = static_cast<NWCCODE>(rc::kStoreUnavailable);
    const auto start = [this] { return EmbeddedClient(Options()).StartClientLibrary(nullptr, nullptr); };
    const std::string elsewhere = folder.path() + "/elsewhere.db";
    fs::rename(StorePath(), elsewhere);
    fs::create_symlink(elsewhere, StorePath());
    EXPECT_EQ(start(), refused);
    fs::remove(StorePath());
    // A second name for the file: someone could have made it where we cannot see.
    fs::create_hard_link(elsewhere, StorePath());
    EXPECT_EQ(start(), refused);
    fs::remove(elsewhere);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(StorePath().c_str(), 65534, 65534), 0);
        EXPECT_EQ(start(), refused);
        ASSERT_EQ(chown(StorePath().c_str(), 0, 0), 0);
    }
    EXPECT_EQ(start(), 0);

    const std::string folderElsewhere = folder.path() + "/folder-elsewhere";
    fs::rename(storeFolder, folderElsewhere);
    fs::create_directory_symlink(folderElsewhere, storeFolder);
    EXPECT_EQ(start(), refused);
}

TEST_F(EmbeddedStoreTest, DefaultStoreLivesUnderTheUsersDataFolder) {
    EnvironmentGuard environment;
    environment.Set("XDG_DATA_HOME", "relative/ignored");
    environment.Set("HOME", folder.path() + "/home");
    EXPECT_EQ(DefaultEmbeddedStorePath(), folder.path() + "/home/.local/share/quillbarrow/directory.db");
    environment.Set("XDG_DATA_HOME", folder.path());
    EXPECT_EQ(DefaultEmbeddedStorePath(), folder.path() + "/quillbarrow/directory.db");

    auto client = MakeEmbeddedClient();
    EXPECT_EQ(client->StartClientLibrary(nullptr, nullptr), 0);
    EXPECT_EQ(ModeOf(folder.path() + "/quillbarrow/directory.db"), 0600u);
}
