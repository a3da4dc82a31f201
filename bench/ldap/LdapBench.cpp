// Times the window on the LDAP backend against a throwaway slapd and a throwaway 389 Directory
// Server, each over its local socket as its administrator, each figure beside a reference on the
// same server: a 9,999-user creation run against ldapadd of the same entries in one process, and a
// full scan of 10,000 containers and 50,000 other entries against a bare libldap one-level walk of
// the same tree. On slapd also the run with a random password for each user (each set by the server's
// Password Modify operation right after its add), beside the run without. The same run through
// quillbarrow-cli create, as a script starts it, beside ldapadd. Then a run with the Account details
// (a group and POSIX identities) beside the same run without them, and the searches
// the server saw while the run without them created its users.

#include "../Stopwatch.h"
#include "BareSearch.h"
#include "CreationBench.h"
#include "DirsrvServer.h"
#include "RecordingUi.h"
#include "SlapdServer.h"
#include "TreeLdif.h"
#include "client/BoundClient.h"
#include "client/SchemaNames.h"
#include "client/ldap/LdapClientFactory.h"
#include "client/ldap/connection/LdapHandles.h"
#include "directory/CreateUserObject.h"
#include "directory/CreationRun.h"
#include "directory/DirectoryStartUp.h"
#include "directory/DirectoryUi.h"
#include "directory/SharedContext.h"
#include "directory/TreeWalk.h"
#include "ui/StatusBar.h"
#include "ui/uMain.h"

#include <QAction>
#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kUsers = 9999;
constexpr int kScanRuns = 3;
constexpr double kCreateTarget = 1.25;
constexpr double kCommandLineTarget = 1.1;
constexpr double kScanTarget = 1.5;
constexpr double kPasswordTarget = 1.5; // the run with random passwords against the run without
constexpr double kDetailsTarget = 1.3;  // the run with a group and POSIX identities against the run without

void PrintRow(const char* what, double measured, double reference, double target) {
    const double ratio = measured / reference;
    std::printf("%-34s %8.2f s   reference %8.2f s   ratio %5.2f   target <= %.2f: %s\n", what, measured, reference,
                ratio, target, ratio <= target ? "met" : "MISSED");
}

// A throwaway server the benchmark runs on, reached over its local socket as its administrator.
class BenchServer {
public:
    virtual ~BenchServer() = default;
    // Builds the server with `ldifs` loaded and starts it; empty on success, else why not.
    virtual std::string Start(const std::vector<std::string>& ldifs) = 0;
    virtual const std::string& LdapiUri() const = 0;
    virtual const std::string& Folder() const = 0;
};

class SlapdBenchServer final : public BenchServer {
public:
    std::string Start(const std::vector<std::string>& ldifs) override { return server_.Start(ldifs); }
    const std::string& LdapiUri() const override { return server_.ldapiUri; }
    const std::string& Folder() const override { return server_.folder(); }

private:
    SlapdServer server_;
};

// SASL EXTERNAL on its socket binds root as the Directory Manager.
class DirsrvBenchServer final : public BenchServer {
public:
    std::string Start(const std::vector<std::string>& ldifs) override { return server_.Start(ldifs); }
    const std::string& LdapiUri() const override { return server_.ldapiUri; }
    const std::string& Folder() const override { return server_.folder(); }

private:
    DirsrvServer server_;
};

// One kind of server: how to make one, the suffix the benchmark's entries go below, the name of that
// suffix's node in the tree, whether the runs with passwords are timed on it, the object classes of
// a POSIX group there, and the searches it has served as its monitor counts them (the read included).
struct BenchTarget {
    const char* name;
    std::function<std::unique_ptr<BenchServer>()> make;
    std::string suffix;
    QString top;
    bool passwords;
    std::vector<std::string> groupClasses;
    std::function<long(ServerConnection&)> searchesServed;
};

LdapSettings Admin(const BenchServer& server) {
    LdapSettings settings;
    settings.uri = server.LdapiUri();
    return settings;
}

// The window's run of kUsers users into the container `name` below Bench, after a scan, with a random
// password for each user when `passwords`. Its time, or a negative one when it did not create them all.
double WindowRun(const BenchServer& server, const BenchTarget& target, const QString& name, bool passwords) {
    WindowRunSetup setup;
    setup.ldapiUri = server.LdapiUri();
    setup.node = {target.top, QStringLiteral("Bench"), name};
    // Login names of their own: the references' user0001... in the naming context would stop the run.
    setup.loginName = name.left(4).toLower();
    setup.count = kUsers;
    setup.randomPasswords = passwords;
    return WindowRun(setup).seconds;
}

// The creation run through the window against ldapadd of the same entries; on slapd also with passwords.
bool BenchCreation(const BenchTarget& target) {
    const auto server = target.make();
    if (const std::string error = server->Start({}); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    // Sibling containers of the same kind: the references, the window runs, the directory layer, the
    // command line.
    const std::string bench = "ou=Bench," + target.suffix;
    const std::string containers = server->Folder() + "/containers.ldif";
    {
        std::ofstream ldif(containers);
        ldif << "dn: " << bench << "\nobjectClass: organizationalUnit\nou: Bench\n\n";
        for (const char* name : {"West", "East", "North", "Passwords", "South"})
            ldif << "dn: ou=" << name << "," << bench << "\nobjectClass: organizationalUnit\nou: " << name << "\n\n";
    }
    if (!LdapAdd(server->LdapiUri(), containers))
        return false;
    // The references first, so the window runs meet the larger database: same server, same count,
    // same attributes.
    const std::string referenceLdif =
        WriteUserLdif(server->Folder() + "/reference.ldif", "ou=West," + bench, "user", kUsers);
    const Stopwatch refStart;
    if (!LdapAdd(server->LdapiUri(), referenceLdif))
        return false;
    const double reference = refStart.Seconds();

    const double window = WindowRun(*server, target, QStringLiteral("East"), false);
    const double withPasswords = target.passwords ? WindowRun(*server, target, QStringLiteral("Passwords"), true) : 0;
    if (window < 0 || withPasswords < 0)
        return false;

    // The same adds through the directory layer alone, to tell the window's share from the client's.
    ResetDirectoryState();
    BindClient(MakeLdapClient(Admin(*server)));
    DirectoryStartUp();
    SetNameContext(DirContext, "North.Bench." + target.top.toStdString());
    char name[16];
    const Stopwatch layerStart;
    for (int i = 1; i <= kUsers; ++i) {
        std::snprintf(name, sizeof name, "user%04d", i);
        if (!CreateUserObject(name, "Bench"))
            return false;
    }
    const double layer = layerStart.Seconds();
    DirectoryShutDown();
    UnbindClient();
    ResetDirectoryState();

    // The command line, its own process on the same server and settings.
    const std::string cli = "env -i HOME='" + server->Folder() + "' LDAPCONF=/dev/null LDAPURI='" + server->LdapiUri() +
                            "' " QB_CLI_PATH " create --quiet --container 'South.Bench." + target.top.toStdString() +
                            "' --prefix sout --count " + std::to_string(kUsers) + " --last-name Bench";
    const Stopwatch cliStart;
    if (std::system(cli.c_str()) != 0)
        return false;
    const double commandLine = cliStart.Seconds();

    std::printf("%s:\n", target.name);
    PrintRow("9,999 users: window run", window, reference, kCreateTarget);
    PrintRow("9,999 users: quillbarrow-cli create", commandLine, reference, kCommandLineTarget);
    PrintRow("  CreateUserObject loop alone", layer, reference, kCreateTarget);
    if (target.passwords)
        PrintRow("9,999 random passwords: window run", withPasswords, window, kPasswordTarget);
    return true;
}

// Times a run of the directory layer (CreationRun, as the window and the command line drive it) and
// counts the searches the server saw between its first and its last user.
struct TimedRun final : CreationRunObserver {
    ServerConnection& monitor;
    const BenchTarget& target;
    long before = -1;
    long searches = -1;
    std::int32_t created = 0;

    TimedRun(ServerConnection& view, const BenchTarget& benchTarget) : monitor(view), target(benchTarget) {}
    void BeforeFirstUser() override { before = target.searchesServed(monitor); }
    void Completing(std::int32_t count) override {
        // Each read counts itself: less the second one.
        searches = target.searchesServed(monitor) - before - 1;
        created = count;
    }
};

// A run with the Account details against the same run without them, on one server, through the
// directory layer; QB_BENCH_USERS sets their size (9,999 by default).
bool BenchDetails(const BenchTarget& target) {
    const char* usersSetting = std::getenv("QB_BENCH_USERS");
    const int users = usersSetting ? std::atoi(usersSetting) : kUsers;
    const auto server = target.make();
    if (const std::string error = server->Start({}); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    const std::string bench = "ou=Bench," + target.suffix;
    const std::string groupDn = "cn=Bench group," + bench;
    const std::string containers = server->Folder() + "/details.ldif";
    {
        std::ofstream ldif(containers);
        ldif << "dn: " << bench << "\nobjectClass: organizationalUnit\nou: Bench\n\n";
        for (const char* name : {"Plain", "Detailed"})
            ldif << "dn: ou=" << name << "," << bench << "\nobjectClass: organizationalUnit\nou: " << name << "\n\n";
        ldif << "dn: " << groupDn << "\ncn: Bench group\ngidNumber: 5000\n";
        for (const std::string& objectClass : target.groupClasses)
            ldif << "objectClass: " << objectClass << "\n";
    }
    if (!LdapAdd(server->LdapiUri(), containers))
        return false;
    ServerConnection monitor = ServerConnection::OverSocket(server->LdapiUri());

    ResetDirectoryState();
    BindClient(MakeLdapClient(Admin(*server)));
    DirectoryStartUp();
    RecordingUi ui;
    SetDirectoryUi(&ui);
    const auto run = [&](const char* container, const char* loginName, int count, const AccountDetails& details,
                         long* searches) {
        CreationRequest request;
        request.container = std::string(container) + ".Bench." + target.top.toStdString();
        request.loginName = loginName;
        request.lastName = "Bench";
        request.count = std::to_string(count);
        request.index = "1";
        request.digits = "4";
        request.details = details;
        CreationRun creation(std::move(request));
        TimedRun observer(monitor, target);
        const Stopwatch start;
        const RunOutcome outcome = creation.Execute(observer);
        const double seconds = start.Seconds();
        *searches = observer.searches;
        if (outcome != RunOutcome::Completed || observer.created != count) {
            for (const std::string& message : ui.messages)
                std::fprintf(stderr, "%s\n", message.c_str());
            return -1.0;
        }
        return seconds;
    };
    AccountDetails details;
    details.group = DirectoryGroup{groupDn, "Bench group", bench, 5000};
    // A Linux login for each user: uidNumbers from the server's counter, gidNumber from the group.
    details.posix = PosixChoice{};

    // A user in each container first: the server's facts, the schema and the containers' names are
    // read once, so that the timed runs compare like with like and the searches counted are the run's.
    long plainSearches = -1;
    long detailedSearches = -1;
    const bool warm =
        run("Plain", "warm", 1, {}, &plainSearches) >= 0 && run("Detailed", "wark", 1, details, &detailedSearches) >= 0;
    const double plain = warm ? run("Plain", "plai", users, {}, &plainSearches) : -1;
    const double detailed = warm ? run("Detailed", "deta", users, details, &detailedSearches) : -1;
    SetDirectoryUi(nullptr);
    DirectoryShutDown();
    UnbindClient();
    ResetDirectoryState();
    if (plain < 0 || detailed < 0)
        return false;

    std::printf("%s:\n", target.name);
    char what[64];
    std::snprintf(what, sizeof what, "%d users, group and POSIX: run", users);
    PrintRow(what, detailed, plain, kDetailsTarget);
    std::printf("searches seen from the first user to the last: %ld without the details (target 1: the login-name "
                "check alone), %ld with them\n",
                plainSearches, detailedSearches);
    return true;
}

bool BenchScan(const BenchTarget& target) {
    const auto server = target.make();
    TreeShape shape;
    shape.suffix = target.suffix;
    const std::string tree = server->Folder() + "/tree.ldif";
    if (!WriteTreeLdif(tree, shape)) {
        std::fprintf(stderr, "cannot write %s\n", tree.c_str());
        return false;
    }
    if (const std::string error = server->Start({tree}); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    // One bare walk first, so that every timing below meets a server with its pages in memory.
    const auto bareWalk = [&](int* containers, int* objects, double* seconds) {
        LDAP* raw = nullptr;
        ldap_initialize(&raw, server->LdapiUri().c_str());
        LdapPtr ld(raw);
        const int version = LDAP_VERSION3;
        ldap_set_option(ld.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
        berval noAuthzid{0, const_cast<char*>("")};
        ldap_sasl_bind_s(ld.get(), nullptr, "EXTERNAL", &noAuthzid, nullptr, nullptr, nullptr);
        BareCount count;
        const Stopwatch start;
        const int code = BareOneLevelWalk(ld.get(), &count);
        *seconds = start.Seconds();
        *containers = static_cast<int>(count.containers);
        *objects = static_cast<int>(count.objects);
        return code;
    };
    int containers = 0;
    int objects = 0;
    double bare = 0;
    if (const int code = bareWalk(&containers, &objects, &bare); code != LDAP_SUCCESS) {
        std::fprintf(stderr, "bare walk failed: %d\n", code);
        return false;
    }

    // Best of a few scans on each side: the machine's other load comes and goes.
    // A fresh window each time, so that no run pays for taking down the tree of the one before.
    double window = 1e9;
    QString counts;
    for (int run = 0; run < kScanRuns; ++run) {
        auto form = OpenWindow(server->LdapiUri());
        const Stopwatch scanStart;
        form->ScanNDS1->trigger();
        window = std::min(window, scanStart.Seconds());
        counts = form->sbStatus->PanelText(1) + QStringLiteral(", ") + form->sbStatus->PanelText(0);
        CloseWindow(std::move(form));
    }

    // The same walk through the directory layer alone, to tell the window's share from the client's.
    ResetDirectoryState();
    BindClient(MakeLdapClient(Admin(*server)));
    DirectoryStartUp();
    // Counts every entry and walks every container, as the scan does.
    struct Counter final : TreeWalkVisitor {
        int objects = 0;
        bool EntryListed(const WalkedContainer&, std::string_view, std::string_view baseClass) override {
            ++objects;
            return IsContainerClass(baseClass);
        }
    };
    int layerObjects = 0;
    double layer = 1e9;
    for (int run = 0; run < kScanRuns; ++run) {
        const Stopwatch layerStart;
        Counter counter;
        WalkTree(counter);
        layer = std::min(layer, layerStart.Seconds());
        layerObjects = counter.objects;
    }
    DirectoryShutDown();
    UnbindClient();
    ResetDirectoryState();

    for (int run = 1; run < kScanRuns; ++run) {
        double again = 0;
        bareWalk(&containers, &objects, &again);
        bare = std::min(bare, again);
    }
    std::printf("%s:\nwindow: %s; bare walk: %d containers, %d objects\n", target.name, counts.toStdString().c_str(),
                containers, objects);
    std::printf("directory layer walk: %d objects\n", layerObjects);
    PrintRow("scan of 10,000 + 50,000 entries", window, bare, kScanTarget);
    PrintRow("  directory layer walk alone", layer, bare, kScanTarget);
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::vector<BenchTarget> targets{
        {"slapd",
         [] { return std::make_unique<SlapdBenchServer>(); },
         "o=Acme",
         QStringLiteral("Acme"),
         true,
         {"posixGroup"},
         [](ServerConnection& view) { return OperationCount(view, "Search", "monitorOpInitiated"); }},
        {"389 Directory Server",
         [] { return std::make_unique<DirsrvBenchServer>(); },
         "dc=example,dc=com",
         QStringLiteral("example\\.com"),
         false,
         {"groupOfNames", "posixGroup"},
         SearchesServed},
    };
    // QB_BENCH_SERVER=slapd or 389 runs one of them; QB_BENCH_SCAN_ONLY leaves out the creation runs,
    // QB_BENCH_CREATION_ONLY the scans; QB_BENCH_DETAILS_ONLY runs the Account details rows alone.
    const char* only = std::getenv("QB_BENCH_SERVER");
    bool passed = true;
    for (const BenchTarget& target : targets) {
        if (only && std::string(target.name).rfind(only, 0) != 0)
            continue;
        if (std::getenv("QB_BENCH_DETAILS_ONLY")) {
            passed = BenchDetails(target) && passed;
            continue;
        }
        passed = (std::getenv("QB_BENCH_SCAN_ONLY") || (BenchCreation(target) && BenchDetails(target))) && passed;
        passed = (std::getenv("QB_BENCH_CREATION_ONLY") || BenchScan(target)) && passed;
    }
    return passed ? 0 : 1;
}
