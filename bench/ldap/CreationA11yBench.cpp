// Times the window's creation run on a throwaway slapd as a screen reader user has it: the window on
// screen with Qt's accessibility bridge sending its events to a screen reader, beside the same run
// without the bridge and beside ldapadd of the same entries. Each window run is a process of its
// own, so that the bridge is there in the one and not in the other.
//
//   creation_a11y_bench [--users N] [--runs R]     default: 9,999 users, the best of 3 runs each
//
// The bridge needs a desktop session with a screen reader: run it through bench/ldap/a11y-session.sh.

#include "../BridgeChild.h"
#include "../Stopwatch.h"
#include "CreationBench.h"
#include "SlapdServer.h"

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {
constexpr double kBridgeTarget = 1.1;   // with the events against without
constexpr double kLdapaddTarget = 1.25; // with the events against ldapadd

void PrintRow(const char* what, double measured, const char* referenceName, double reference, double target) {
    const double ratio = measured / reference;
    std::printf("  %-28s %8.2f s   %-18s %8.2f s   ratio %5.2f   target <= %.2f: %s\n", what, measured, referenceName,
                reference, ratio, target, ratio <= target ? "met" : "MISSED");
}

// One window run in this process: prints "seconds cpu-seconds bridge-active".
int ChildRun(const std::string& uri, const QString& container, const QString& loginName, int count) {
    const bool bridge = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    // The bridge connects to the AT-SPI bus once messages run.
    for (QDeadlineTimer deadline(5000); bridge && !QAccessible::isActive() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    WindowRunSetup setup;
    setup.ldapiUri = uri;
    setup.node = {QStringLiteral("Acme"), QStringLiteral("Bench"), container};
    setup.loginName = loginName;
    setup.count = count;
    setup.shown = true;
    const WindowRunTime time = WindowRun(setup);
    if (time.seconds < 0)
        return 1;
    std::printf("%.6f %.6f %d\n", time.seconds, time.cpuSeconds, QAccessible::isActive() ? 1 : 0);
    return 0;
}

struct RunTime {
    double seconds = 1e9;
    double cpuSeconds = 1e9;
    void Best(const RunTime& run) {
        seconds = std::min(seconds, run.seconds);
        cpuSeconds = std::min(cpuSeconds, run.cpuSeconds);
    }
};

// Adds the container ou=`name` below `parent`: its directory name, or empty when ldapadd failed.
std::string AddContainer(const SlapdServer& server, const std::string& name,
                         const std::string& parent = "ou=Bench,o=Acme") {
    const std::string dn = "ou=" + name + "," + parent;
    const std::string ldif = server.folder() + "/" + name + ".ldif";
    std::ofstream(ldif) << "dn: " << dn << "\nobjectClass: organizationalUnit\nou: " << name << "\n\n";
    return LdapAdd(server.ldapiUri, ldif) ? dn : std::string();
}

// The window's run into `container` (new) in a process of its own, with the bridge or without.
bool RunChild(const SlapdServer& server, const std::string& container, int count, bool bridge, RunTime* time) {
    if (AddContainer(server, container).empty())
        return false;
    const QString name = QString::fromStdString(container);
    std::string output;
    if (!RunBridgeChild({QStringLiteral("--child-run"), QString::fromStdString(server.ldapiUri), name, name.toLower(),
                         QString::number(count)},
                        bridge, 1800000, &output)) {
        std::fprintf(stderr, "the window run into %s failed\n", container.c_str());
        return false;
    }
    std::istringstream out(output);
    RunTime run;
    int active = 0;
    if (!(out >> run.seconds >> run.cpuSeconds >> active) || !BridgeAsAsked(active, bridge))
        return false;
    time->Best(run);
    return true;
}

bool Bench(int count, int runs) {
    std::printf("platform %s; %d users, best of %d runs each\n", qgetenv("QT_QPA_PLATFORM").constData(), count, runs);
    SlapdServer server;
    if (const std::string error = server.Start({}); !error.empty()) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (AddContainer(server, "Bench", "o=Acme").empty())
        return false;
    RunTime ldapadd;
    RunTime without;
    RunTime with;
    // In turn, each kind first every other round: the machine's other load comes and goes, and every
    // run meets a database larger than the one before.
    for (int round = 1; round <= runs; ++round) {
        const std::string reference = "Ref" + std::to_string(round);
        const std::string container = AddContainer(server, reference);
        if (container.empty())
            return false;
        const std::string users = WriteUserLdif(server.folder() + "/" + reference + "-users.ldif", container,
                                                "r" + std::to_string(round), count);
        const Stopwatch added;
        if (!LdapAdd(server.ldapiUri, users))
            return false;
        ldapadd.Best({added.Seconds(), 0});
        const std::string plain = "Plain" + std::to_string(round);
        const std::string bridged = "Bridged" + std::to_string(round);
        const bool right =
            round % 2 == 1
                ? RunChild(server, plain, count, false, &without) && RunChild(server, bridged, count, true, &with)
                : RunChild(server, bridged, count, true, &with) && RunChild(server, plain, count, false, &without);
        if (!right)
            return false;
    }
    PrintRow("window run, events flowing", with.seconds, "without", without.seconds, kBridgeTarget);
    PrintRow("  its processor time", with.cpuSeconds, "without", without.cpuSeconds, kBridgeTarget);
    PrintRow("window run, events flowing", with.seconds, "ldapadd", ldapadd.seconds, kLdapaddTarget);
    PrintRow("window run without", without.seconds, "ldapadd", ldapadd.seconds, kLdapaddTarget);
    return true;
}
} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 6 && std::strcmp(argv[1], "--child-run") == 0)
        return ChildRun(argv[2], QString::fromUtf8(argv[3]), QString::fromUtf8(argv[4]), std::atoi(argv[5]));
    int count = 9999;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--users") == 0)
            count = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::atoi(argv[i + 1]);
    }
    if (count < 1 || count > 9999 || runs < 1) {
        std::fprintf(stderr, "usage: creation_a11y_bench [--users 1-9999] [--runs N]\n");
        return 2;
    }
    return Bench(count, runs) ? 0 : 1;
}
