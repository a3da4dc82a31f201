#pragma once

// The accessibility comparisons run this program again as a child, with Qt's accessibility bridge
// forced on or left off, and read back what the child printed.
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <cstdio>
#include <string>

// Runs the child with `arguments` for at most `timeoutMs`; false when it failed.
inline bool RunBridgeChild(const QStringList& arguments, bool bridge, int timeoutMs, std::string* output) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (bridge)
        environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    else
        environment.remove(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(timeoutMs) || child.exitCode() != 0)
        return false;
    *output = child.readAllStandardOutput().toStdString();
    return true;
}

// Whether the child's bridge (`active` as it printed) was as asked; says so when not. The
// comparison means nothing unless the bridge is there in the one run and not in the other.
inline bool BridgeAsAsked(int active, bool bridge) {
    if ((active != 0) == bridge)
        return true;
    std::fprintf(stderr, "the accessibility bridge is %s where it should %s\n", active ? "active" : "not active",
                 bridge ? "be" : "not be");
    return false;
}
