#pragma once

#include "ServerConnection.h"
#include "TempFolder.h"
#include "WindowTest.h"
#include "client/ldap/connection/LdapSettings.h"

#include <string>
#include <vector>

// What a scan shows in the status bar.
struct ScanCounts {
    int containers = -1;
    int objects = -1;
};
inline bool operator==(const ScanCounts& a, const ScanCounts& b) {
    return a.containers == b.containers && a.objects == b.objects;
}
inline void PrintTo(const ScanCounts& counts, std::ostream* out) {
    *out << counts.containers << " containers, " << counts.objects << " objects";
}

// A password of 64 characters with umlauts, quotes, a backslash, braces and blanks, which also meets
// Active Directory's complexity rules.
inline const QString kAwkwardPassword =
    QStringLiteral("Gr\u00FC\u00DFe \"aus\" C:\\Temp, 'so' { viel } & mehr \u00E9t\u00E9 Nr. 1234567890 !#+");

// Makes the client trust the test CA's certificates (and nothing else). libldap reads its settings
// once per process, on first use: call it before anything in the process talks LDAP.
void TrustTestCa(const std::string& caFile);

// The real window, offscreen, on the LDAP backend against a throwaway 389 Directory Server or Samba
// AD DC over ldaps, bound as the test says with a password file of the test's own.
class ServerWindowTest : public WindowTest {
protected:
    // Opens the window bound to `uri` as `dn` with `password`.
    void OpenWindowAs(const std::string& uri, const std::string& dn, const std::string& password);
    // Selects `path`, fills the fields and presses "Create User(s)".
    void Run(const QStringList& path, const QString& prefix, const QString& surname, const QString& count);
    // The counts the status bar shows after the scan.
    ScanCounts ShownCounts() const;
    // The identity text the status bar shows.
    std::string ShownIdentity() const;

private:
    TempFolder passwords_;
    int passwordFiles_ = 0;
};

// The values of `attribute` of the only entry `dn` names, read through the server's own view; empty
// when there is no such entry.
std::vector<std::string> ValuesOf(ServerConnection& view, const std::string& dn, const std::string& attribute);
// Entries below `base` in `scope` that match `filter`, counted through the server's own view.
int CountEntries(ServerConnection& view, const std::string& base, int scope,
                 const std::string& filter = "(objectClass=*)");
