#pragma once

#include "ServerConnection.h"
#include "TempFolder.h"
#include "WindowTest.h"
#include "client/ldap/connection/LdapSettings.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QTreeWidget;
class TfPasswords;
struct BindAnswer;

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

// The real window, offscreen, on the LDAP backend against a throwaway server, bound as the test says
// with a password file of the test's own.
class ServerWindowTest : public WindowTest {
protected:
    // Opens the window bound to `uri` as `dn` with `password`; with `dn` empty, SASL EXTERNAL over ldapi.
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

// Undoes a server setting changed for the length of a test when its last copy goes.
using Undo = std::shared_ptr<void>;

// What the window scenarios shared by every server need of one kind of server, whose throwaway
// instance the test executable's environment starts once for the process. Each test works in an
// organizational unit of its own below the parent the server names.
class WindowServer {
public:
    struct Login {
        std::string uri;
        std::string dn; // empty: SASL EXTERNAL over ldapi
        std::string password;
    };
    virtual ~WindowServer() = default;

    // Why the server is not usable (empty when it runs); the test's own administrator connection.
    virtual std::string StartError() const = 0;
    virtual ServerConnection Admin() const = 0;
    // The window's bind as the administrator, over ldap:// with StartTLS when `startTls` and the server
    // takes passwords that way; one that may read the password policy.
    virtual Login AdminLogin(bool startTls = false) const = 0;
    virtual Login PolicyLogin() const { return AdminLogin(); }
    // Where a created user binds, and the CA that verifies the server (empty over ldapi).
    virtual std::string UserUri() const = 0;
    virtual std::string CaFile() const { return {}; }
    // The counts a scan should show, read through `admin`; what else the tree must show.
    virtual ScanCounts ExpectedCounts(ServerConnection& admin) const = 0;
    virtual void ExpectTree(const QTreeWidget& tree) const = 0;
    // What a new user without a password holds beside its surname.
    virtual std::map<std::string, std::string> NewUserValues(const std::string& login) const = 0;
    // Adds `dn` holding `login` as its login name; the same in another naming context, where there is one.
    virtual int AddLoginHolder(ServerConnection& admin, const std::string& dn, const std::string& login) const = 0;
    virtual int AddLoginHolderInAnotherContext(ServerConnection&, const std::string&) const { return LDAP_SUCCESS; }
    // Adds the group `dn` of the server's kind.
    virtual int AddGroup(ServerConnection& admin, const std::string& dn) const = 0;
    // What the server keeps of a password; the Passwords dialog's change box for the administrator.
    virtual void ExpectPasswordKept(ServerConnection&, const std::string&) const {}
    virtual void ExpectMustChangeBox(TfPasswords&) const {}
    // The servers with rules of their own: how they ask for a change at first login and show it, and
    // come to refuse short passwords.
    virtual Undo AskForChange() const { return nullptr; }
    virtual void ExpectMustChange(ServerConnection&, const std::string&, const BindAnswer&) const {}
    virtual Undo RefuseShortPasswords() const { return nullptr; }

    std::string adminIdentity; // "Logged in as: ..." for the administrator
    // The parent of the tests' own units: its nodes, dotted name and DN; the naming context.
    QStringList parentNode;
    QString parentDotted;
    std::string parentDn;
    std::string contextDn;
    // RDN types as the server spells them, a unit's classes, a user's class and login attribute, the
    // attribute listing a group's members.
    std::string unitRdn = "ou=";
    std::string userRdn = "cn=";
    std::vector<std::string> unitClasses{"top", "organizationalUnit"};
    std::string userClass = "inetOrgPerson";
    std::string loginAttribute = "uid";
    std::string memberAttribute = "member";
    // Names the server takes as they are, and those it refuses with `hostileRefusal`.
    std::vector<std::string> hostileTaken;
    std::vector<std::string> hostileRefused;
    std::string hostileRefusal;
};

// The scenarios every server shares, for the server the parameter names.
class ServerWindowSuite : public ServerWindowTest, public ::testing::WithParamInterface<const WindowServer*> {
protected:
    void SetUp() override { ASSERT_EQ(Server().StartError(), "") << "the throwaway server did not start"; }
    const WindowServer& Server() const { return *GetParam(); }

    using ServerWindowTest::OpenWindowAs;
    void OpenWindowAs(const WindowServer::Login& login) { OpenWindowAs(login.uri, login.dn, login.password); }
    // A unit of the test's own below the parent, made through the server's own view; then the window
    // opens as `login` (the administrator by default) and scans.
    std::string OwnContainer(const std::string& name);
    std::string OwnContainer(const std::string& name, const WindowServer::Login& login);
    QStringList Path(const QString& unit) const { return QStringList(Server().parentNode) << unit; }
    QString Dotted(const QString& unit) const { return unit + u'.' + Server().parentDotted; }
    std::string UserDn(const std::string& login, const std::string& container) const {
        return Server().userRdn + login + "," + container;
    }
};

// The scenarios of the servers with naming and password rules of their own: 389 and Active Directory.
class ServerRulesWindowTest : public ServerWindowSuite {};
