#pragma once

#include "ui/uMain.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <string>

// What the creation benchmarks share: the reference's entries added with ldapadd, and the window's
// run on a server reached over its local socket as its administrator (SASL EXTERNAL).

// `count` users prefix0001... below `container`, as the window's run makes them, written to `path`.
std::string WriteUserLdif(const std::string& path, const std::string& container, const std::string& prefix, int count);
// ldapadd of `ldif` as its own process: false when it failed.
bool LdapAdd(const std::string& ldapiUri, const std::string& ldif);

// A window on a fresh client for the server, and its end.
std::unique_ptr<TfMain> OpenWindow(const std::string& ldapiUri);
void CloseWindow(std::unique_ptr<TfMain> form);

struct WindowRunSetup {
    std::string ldapiUri;
    QStringList node;  // the container's node, from below "[Root]"
    QString loginName; // the users' prefix; they are numbered from 1 with four digits
    int count = 0;
    bool randomPasswords = false;
    bool shown = false; // on screen, as a user has it, rather than only created
};

struct WindowRunTime {
    double seconds = -1;   // negative when the run did not create every user
    double cpuSeconds = 0; // the processor time of this process during the run
};

// The window's run after a scan, timed from the press to its end.
WindowRunTime WindowRun(const WindowRunSetup& setup);
