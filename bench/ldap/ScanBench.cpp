// Times the scan through the real window against a throwaway slapd over ldaps, behind a proxy of
// our own that adds a round-trip time, beside what plain libldap needs for the same tree: a bare
// one-level walk (the scan's searches, without the program) and one subtree search per naming
// context (the floor). Also, on request, the tree ten times larger (linear growth, peak memory, the
// longest wait between two runs of window messages) and the scan with the accessibility bridge
// active beside the same without.
//
//   scan_bench [--rtt 0,1,10] [--walk-rtt-max MS]   the 10,000-container tree at each round-trip time
//   scan_bench --large                               the small and the ten-times tree at 0 ms
//   scan_bench --a11y                                the scan with the bridge active and without
//
// The identity binds with a password over ldaps, without a size limit (the fixture's
// administrator, given a password for this).

#include "../BridgeChild.h"
#include "../ProcessUsage.h"
#include "../Stopwatch.h"
#include "../proxy/DelayProxy.h"
#include "BareSearch.h"
#include "ServerConnection.h"
#include "SlapdServer.h"
#include "TempFolder.h"
#include "TreeLdif.h"
#include "client/BoundClient.h"
#include "client/ProcessHeap.h"
#include "client/ldap/LdapClientFactory.h"
#include "directory/DirectoryUi.h"
#include "directory/SharedContext.h"
#include "ui/QtDirectoryUi.h"
#include "ui/StatusBar.h"
#include "ui/uMain.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {
constexpr const char* kAdminPassword = "bench-secret";
constexpr double kWalkTarget = 1.0;
constexpr double kRemoteTargetSeconds = 3.0;
constexpr double kLargeRatioTarget = 11.0;
constexpr double kLargeMemoryTargetMb = 300.0;
constexpr int kLargeRounds = 2;
constexpr double kAccessibilityTarget = 1.2;
constexpr int kAccessibilityRuns = 5;

void PrintRatio(const char* what, double measured, const char* referenceName, double reference, double target) {
    const double ratio = measured / reference;
    std::printf("  %-30s %9.3f s   %-22s %9.3f s   ratio %6.3f   target <= %.1f: %s\n", what, measured, referenceName,
                reference, ratio, target, ratio <= target ? "met" : "MISSED");
}

// Where the window's client connects and as whom.
struct Target {
    std::string uri;
    std::string bindDn;
    std::string passwordFile;
    std::string caFile;
};

// A slapd holding the generated tree, with the administrator able to bind with a password.
struct BenchServer {
    SlapdServer slapd;
    TreeShape shape;
    int ldapsPort = 0;
    std::string caFile;
    std::string passwordFile;
    double generateSeconds = 0;
    double loadSeconds = 0;

    bool Start(const TreeShape& treeShape) {
        shape = treeShape;
        const std::string ldif = slapd.folder() + "/tree.ldif";
        // The administrator's entry, so that it can bind with a password over ldaps as well.
        const std::string admin = std::string("dn: cn=Admin,o=Acme\nobjectClass: inetOrgPerson\ncn: Admin\nsn: "
                                              "Admin\nuserPassword: ") +
                                  kAdminPassword + "\n\n";
        const Stopwatch generate;
        if (!WriteTreeLdif(ldif, shape, admin)) {
            std::fprintf(stderr, "cannot write %s\n", ldif.c_str());
            return false;
        }
        generateSeconds = generate.Seconds();
        const Stopwatch load;
        if (const std::string error = slapd.Start({ldif}); !error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        loadSeconds = load.Seconds();
        const std::string ldaps = slapd.Value("LDAPS_URI");
        ldapsPort = std::atoi(ldaps.substr(ldaps.rfind(':') + 1).c_str());
        caFile = slapd.Value("CA_FILE");
        passwordFile = WriteFile(slapd.folder(), "admin.pw", kAdminPassword, 0600);
        std::printf("tree of %ld containers + %ld others: LDIF written in %.2f s, loaded with slapadd and served "
                    "in %.1f s\n",
                    shape.Containers(), shape.Others(), generateSeconds, loadSeconds);
        return ldapsPort > 0 && TrustForNewHandles(caFile);
    }

    Target Through(const DelayProxy& proxy) const {
        return {"ldaps://127.0.0.1:" + std::to_string(proxy.port()) + "/", "cn=Admin,o=Acme", passwordFile, caFile};
    }
};

// The window's "let pending messages run", timed: how often it ran and the longest time the
// window went without it.
class TimedUi final : public DirectoryUi {
public:
    void ShowMessage(const std::string& text) override { inner_.ShowMessage(text); }
    void ProcessPendingMessages() override {
        Note();
        ++runs_;
        inner_.ProcessPendingMessages();
        sinceLast_ = Stopwatch();
    }
    // Ends the measurement: the wait from the last run to the end of the scan counts too.
    void End() { Note(); }
    double LongestGapMs() const { return longestMs_; }
    // When the longest wait ended, counted from the start of the scan.
    double LongestGapEndMs() const { return longestEndMs_; }
    long runs() const { return runs_; }

private:
    void Note() {
        if (sinceLast_.Milliseconds() > longestMs_) {
            longestMs_ = sinceLast_.Milliseconds();
            longestEndMs_ = sinceStart_.Milliseconds();
        }
    }

    QtDirectoryUi inner_;
    Stopwatch sinceStart_;
    Stopwatch sinceLast_;
    double longestMs_ = 0;
    double longestEndMs_ = 0;
    long runs_ = 0;
};

struct ScanResult {
    double seconds = 0;
    double cpuSeconds = 0; // the window's process alone: little moved by the machine's other load
    long containers = 0;
    long objects = 0;
    double longestGapMs = 0;
    double longestGapEndMs = 0;
    long messageRuns = 0;
};

long PanelCount(const TStatusBar& bar, int panel) {
    const QString text = bar.PanelText(panel);
    return text.mid(text.lastIndexOf(QLatin1Char(' ')) + 1).toLong();
}

// A fresh program state whose client binds to `target` as the benchmark's administrator.
void BindTo(const Target& target) {
    LdapSettings settings;
    settings.uri = target.uri;
    settings.bindDn = target.bindDn;
    settings.passwordFile = target.passwordFile;
    ResetDirectoryState();
    BindClient(MakeLdapClient(std::move(settings)));
}

void ShowWindow(TfMain& form) {
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "window not exposed\n");
}

// One scan through a fresh, shown window.
ScanResult ScanThroughWindow(const Target& target) {
    BindTo(target);
    ScanResult result;
    {
        TfMain form;
        ShowWindow(form);
        TimedUi ui;
        SetDirectoryUi(&ui);
        const double cpuStart = CpuSeconds();
        const Stopwatch start;
        form.ScanNDS1->trigger();
        result.seconds = start.Seconds();
        result.cpuSeconds = CpuSeconds() - cpuStart;
        ui.End();
        result.longestGapMs = ui.LongestGapMs();
        result.longestGapEndMs = ui.LongestGapEndMs();
        result.messageRuns = ui.runs();
        result.containers = PanelCount(*form.sbStatus, 1);
        result.objects = PanelCount(*form.sbStatus, 0);
        SetDirectoryUi(nullptr);
        form.close();
    }
    UnbindClient();
    ResetDirectoryState();
    return result;
}

struct BareResult {
    double seconds = 0;
    BareCount count;
    int code = LDAP_OTHER;
};

template <typename Walk> BareResult TimeBare(const Target& target, const char* password, Walk walk) {
    BareResult result;
    ServerConnection connection = ServerConnection::OverTls(target.uri, target.caFile, target.bindDn, password);
    if (connection.bindCode() != LDAP_SUCCESS) {
        result.code = connection.bindCode();
        return result;
    }
    const Stopwatch start;
    result.code = walk(connection.handle(), &result.count);
    result.seconds = start.Seconds();
    return result;
}

// Brings the server's pages into memory and loads what a first window loads, so that no timing
// below pays for coming first.
void WarmUp(const BenchServer& server) {
    TrustForNewHandles(server.caFile);
    DelayProxy proxy(server.ldapsPort, std::chrono::milliseconds(0));
    const Target target = server.Through(proxy);
    TimeBare(target, kAdminPassword, BareSubtreeSearch);
    BindTo(target);
    {
        TfMain form;
        ShowWindow(form);
        form.close();
    }
    UnbindClient();
    ResetDirectoryState();
}

bool CountsAgree(const ScanResult& scan, const BareResult& bare, const char* what) {
    const bool agree = scan.containers == bare.count.containers && scan.objects == bare.count.objects;
    std::printf("  counts: window %ld containers, %ld objects; %s %ld, %ld (%ld searches)%s\n", scan.containers,
                scan.objects, what, bare.count.containers, bare.count.objects, bare.count.searches,
                agree ? "" : "   DIFFERENT");
    return agree;
}

std::vector<int> ParseList(const char* text) {
    std::vector<int> values;
    std::stringstream list(text);
    for (std::string item; std::getline(list, item, ',');)
        values.push_back(std::atoi(item.c_str()));
    return values;
}

// The 10,000-container tree at each round-trip time.
bool BenchRoundTrips(const std::vector<int>& roundTripsMs, int walkRttMaxMs) {
    BenchServer server;
    if (!server.Start(TreeShape{}))
        return false;
    WarmUp(server);
    bool right = true;
    for (const int rtt : roundTripsMs) {
        DelayProxy proxy(server.ldapsPort, std::chrono::milliseconds(rtt));
        if (proxy.port() == 0) {
            std::fprintf(stderr, "proxy: %s\n", proxy.error().c_str());
            return false;
        }
        const Target target = server.Through(proxy);
        std::printf("round trip %d ms (ldaps through the proxy):\n", rtt);
        const ScanResult scan = ScanThroughWindow(target);
        const BareResult subtree = TimeBare(target, kAdminPassword, BareSubtreeSearch);
        right = CountsAgree(scan, subtree, "subtree search") && right;
        std::printf("  %-30s %9.3f s   longest wait for window messages %.1f ms, ending %.0f ms into the scan "
                    "(%ld runs)\n",
                    "scan through the window", scan.seconds, scan.longestGapMs, scan.longestGapEndMs, scan.messageRuns);
        std::printf("  %-30s %9.3f s   (ratio of the scan to it %.2f)\n", "one subtree search (floor)", subtree.seconds,
                    scan.seconds / subtree.seconds);
        if (rtt <= walkRttMaxMs) {
            const BareResult walk = TimeBare(target, kAdminPassword, BareOneLevelWalk);
            right = walk.code == LDAP_SUCCESS && right;
            PrintRatio("scan vs bare one-level walk", scan.seconds, "one-level walk", walk.seconds, kWalkTarget);
        }
        if (rtt == 10) {
            std::printf("  %-30s %9.3f s   target <= %.1f s: %s\n", "scan at 10 ms round trip", scan.seconds,
                        kRemoteTargetSeconds, scan.seconds <= kRemoteTargetSeconds ? "met" : "MISSED");
        }
        std::fflush(stdout);
    }
    return right;
}

// The small tree and the ten-times tree, both at 0 ms, each on a server of its own, scanned in
// turn (small, large, small, large, small) and each timed by its best scan: the machine's other
// load comes and goes, and meets both alike. One subtree search of each tree shows how much of the
// growth is the server's.
bool BenchLarge() {
    BenchServer smallServer;
    BenchServer largeServer;
    TreeShape large;
    large.tops = 1000;
    if (!smallServer.Start(TreeShape{}) || !largeServer.Start(large))
        return false;
    WarmUp(smallServer);
    WarmUp(largeServer);
    DelayProxy smallProxy(smallServer.ldapsPort, std::chrono::milliseconds(0));
    DelayProxy largeProxy(largeServer.ldapsPort, std::chrono::milliseconds(0));
    const Target smallTarget = smallServer.Through(smallProxy);
    const Target largeTarget = largeServer.Through(largeProxy);
    // Each connects to its own server, trusting that server's CA.
    const auto scan = [](const BenchServer& server, const Target& target) {
        TrustForNewHandles(server.caFile);
        return ScanThroughWindow(target);
    };
    const auto best = [](ScanResult* kept, const ScanResult& again) {
        if (kept->seconds == 0 || again.seconds < kept->seconds)
            *kept = again;
    };

    ScanResult small;
    ScanResult big;
    double peak = 0;
    for (int round = 0; round < kLargeRounds; ++round) {
        best(&small, scan(smallServer, smallTarget));
        best(&big, scan(largeServer, largeTarget));
        if (round == 0)
            peak = PeakMemoryMb();
    }
    best(&small, scan(smallServer, smallTarget));

    TrustForNewHandles(smallServer.caFile);
    const BareResult smallFloor = TimeBare(smallTarget, kAdminPassword, BareSubtreeSearch);
    TrustForNewHandles(largeServer.caFile);
    const BareResult largeFloor = TimeBare(largeTarget, kAdminPassword, BareSubtreeSearch);
    const bool right =
        CountsAgree(small, smallFloor, "subtree search") && CountsAgree(big, largeFloor, "subtree search");
    std::printf("  small tree: scan %.3f s, longest wait for window messages %.1f ms (best of %d)\n", small.seconds,
                small.longestGapMs, kLargeRounds + 1);
    PrintRatio("ten-times tree vs small tree", big.seconds, "small tree", small.seconds, kLargeRatioTarget);
    std::printf("  %-30s %9.3f s   small tree %9.3f s   growth %5.2f (the server's share)\n",
                "one subtree search (floor)", largeFloor.seconds, smallFloor.seconds,
                largeFloor.seconds / smallFloor.seconds);
    std::printf("  peak memory of the scan: %.1f MB   target <= %.0f MB: %s\n", peak, kLargeMemoryTargetMb,
                peak <= kLargeMemoryTargetMb ? "met" : "MISSED");
    std::printf("  longest wait for window messages: %.1f ms, ending %.0f ms into the scan (%ld runs for %ld "
                "entries)\n",
                big.longestGapMs, big.longestGapEndMs, big.messageRuns, big.objects);
    return right;
}

// One scan in a process of its own, for the accessibility comparison: prints "seconds containers objects".
int ChildScan(char* argv[]) {
    const ScanResult scan = ScanThroughWindow({argv[0], argv[1], argv[2], argv[3]});
    std::printf("%.6f %.6f %ld %ld %d\n", scan.seconds, scan.cpuSeconds, scan.containers, scan.objects,
                QAccessible::isActive() ? 1 : 0);
    return 0;
}

bool RunChild(const Target& target, bool bridge, ScanResult* result) {
    std::string output;
    if (!RunBridgeChild({QStringLiteral("--child-scan"), QString::fromStdString(target.uri),
                         QString::fromStdString(target.bindDn), QString::fromStdString(target.passwordFile),
                         QString::fromStdString(target.caFile)},
                        bridge, 600000, &output))
        return false;
    std::istringstream out(output);
    int active = 0;
    if (!(out >> result->seconds >> result->cpuSeconds >> result->containers >> result->objects >> active))
        return false;
    return BridgeAsAsked(active, bridge);
}

// The scan with the accessibility bridge active beside the same without, each in a process of its own.
bool BenchAccessibility() {
    std::printf("platform %s; the bridge needs a session bus (run through bench/ldap/a11y-session.sh)\n",
                qgetenv("QT_QPA_PLATFORM").constData());
    BenchServer server;
    if (!server.Start(TreeShape{}))
        return false;
    WarmUp(server);
    DelayProxy proxy(server.ldapsPort, std::chrono::milliseconds(0));
    const Target target = server.Through(proxy);
    // Best of a few, in turn: the machine's other load comes and goes. The processor time of the
    // window's process is shown too; it varies far less with that load.
    ScanResult without{1e9, 1e9};
    ScanResult with{1e9, 1e9};
    for (int run = 0; run < kAccessibilityRuns; ++run) {
        ScanResult plain;
        ScanResult bridged;
        if (!RunChild(target, false, &plain) || !RunChild(target, true, &bridged)) {
            std::fprintf(stderr, "a scan in its own process failed\n");
            return false;
        }
        without.seconds = std::min(without.seconds, plain.seconds);
        without.cpuSeconds = std::min(without.cpuSeconds, plain.cpuSeconds);
        with.seconds = std::min(with.seconds, bridged.seconds);
        with.cpuSeconds = std::min(with.cpuSeconds, bridged.cpuSeconds);
        with.containers = bridged.containers;
        with.objects = bridged.objects;
        without.containers = plain.containers;
        without.objects = plain.objects;
    }
    std::printf("  counts: %ld containers, %ld objects with the bridge; %ld, %ld without\n", with.containers,
                with.objects, without.containers, without.objects);
    PrintRatio("scan with the bridge active", with.seconds, "without", without.seconds, kAccessibilityTarget);
    PrintRatio("  its processor time", with.cpuSeconds, "without", without.cpuSeconds, kAccessibilityTarget);
    return with.containers == without.containers && with.objects == without.objects;
}
} // namespace

int main(int argc, char* argv[]) {
    UseOneHeapForAllThreads(); // as the program does
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--child-scan") == 0 && i + 4 < argc) {
            QApplication application(argc, argv);
            return TrustForNewHandles(argv[i + 4]) ? ChildScan(argv + i + 1) : 1;
        }
    }
    std::vector<int> roundTrips{0, 1, 10};
    int walkRttMax = 10;
    enum class Mode { RoundTrips, Large, Accessibility } mode = Mode::RoundTrips;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rtt") == 0 && i + 1 < argc)
            roundTrips = ParseList(argv[++i]);
        else if (std::strcmp(argv[i], "--walk-rtt-max") == 0 && i + 1 < argc)
            walkRttMax = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--large") == 0)
            mode = Mode::Large;
        else if (std::strcmp(argv[i], "--a11y") == 0)
            mode = Mode::Accessibility;
    }
    QApplication application(argc, argv);
    bool right = false;
    switch (mode) {
    case Mode::RoundTrips:
        right = BenchRoundTrips(roundTrips, walkRttMax);
        break;
    case Mode::Large:
        right = BenchLarge();
        break;
    case Mode::Accessibility:
        right = BenchAccessibility();
        break;
    }
    std::printf("counts: %s\n", right ? "right" : "WRONG");
    return right ? 0 : 1;
}
