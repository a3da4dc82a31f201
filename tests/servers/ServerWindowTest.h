#pragma once

#include "ServerConnection.h"
#include "TempFolder.h"
#include "WindowTest.h"
#include "client/ldap/connection/LdapSettings.h"

#include <functional>
#include <map>
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

// Runs `undo` when it goes: a server setting changed for the length of a test.
class Undo {
public:
    explicit Undo(std::function<void()> undo = {}) : undo_(std::move(undo)) {}
    Undo(const Undo&) = delete;
    Undo& operator=(const Undo&) = delete;
    Undo(Undo&&) = default;
    ~Undo() {
        if (undo_)
            undo_();
    }

private:
    std::function<void()> undo_;
};

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

    // Why the server is not usable; empty when it runs.
    virtual std::string StartError() const = 0;
    // The test's own connection as the server's administrator.
    virtual ServerConnection Admin() const = 0;
    // The administrator's bind for the window, with StartTLS over ldap:// when `startTls` and the server
    // takes passwords that way.
    virtual Login AdminLogin(bool startTls = false) const = 0;
    // Who may read the password policy and set a change at first login.
    virtual Login PolicyLogin() const { return AdminLogin(); }
    // "Logged in as: ..." for the administrator.
    virtual std::string AdminIdentity() const = 0;
    // Where a created user binds, and the CA that verifies the server (empty over ldapi).
    virtual std::string UserUri() const = 0;
    virtual std::string CaFile() const { return {}; }

    // The parent of the tests' own units: its nodes, its dotted name, its DN; the naming context.
    virtual QStringList ParentNode() const = 0;
    virtual QString ParentDotted() const = 0;
    virtual std::string ParentDn() const = 0;
    virtual std::string ContextDn() const = 0;
    // The units' and users' RDN types as the server spells them ("ou=", "CN=").
    virtual std::string UnitRdn() const { return "ou="; }
    virtual std::string UserRdn() const { return "cn="; }
    virtual std::vector<std::string> UnitClasses() const { return {"top", "organizationalUnit"}; }

    // The counts a scan should show, read through `admin`; and what else the tree must show.
    virtual ScanCounts ExpectedCounts(ServerConnection& admin) const = 0;
    virtual void ExpectTree(const QTreeWidget& tree) const = 0;

    // A user's class, the attribute holding its login name, and what a new user without a password
    // holds beside its surname.
    virtual std::string UserClass() const { return "inetOrgPerson"; }
    virtual std::string LoginAttribute() const { return "uid"; }
    virtual std::map<std::string, std::string> NewUserValues(const std::string& login) const = 0;
    // Adds `dn`, an entry holding `login` as its login name.
    virtual int AddLoginHolder(ServerConnection& admin, const std::string& dn, const std::string& login) const = 0;
    // The same in another naming context, where there is one: no obstacle to a run.
    virtual int AddLoginHolderInAnotherContext(ServerConnection&, const std::string&) const { return LDAP_SUCCESS; }
    // Adds the group `dn` of the kind the server's groups are; the attribute listing its members.
    virtual int AddGroup(ServerConnection& admin, const std::string& dn) const = 0;
    virtual std::string MemberAttribute() const { return "member"; }

    // What the server keeps of a user's password, checked through `admin`; the Passwords dialog's
    // change-at-first-login box for the administrator.
    virtual void ExpectPasswordKept(ServerConnection& admin, const std::string& dn) const = 0;
    virtual void ExpectMustChangeBox(TfPasswords&) const {}

    // For the servers with rules of their own: names the server takes and refuses (with the message),
    // how it asks for a change at first login and shows it, and how it refuses a password.
    virtual std::vector<std::string> HostileNamesTaken() const { return {}; }
    virtual std::vector<std::string> HostileNamesRefused() const { return {}; }
    virtual std::string HostileRefusal() const { return {}; }
    virtual Undo AskForChange() const { return Undo(); }
    virtual void ExpectMustChange(ServerConnection&, const std::string&, const BindAnswer&) const {}
    virtual Undo RefuseShortPasswords() const { return Undo(); }
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
    QStringList Path(const QString& unit) const { return Server().ParentNode() << unit; }
    QString Dotted(const QString& unit) const { return unit + u'.' + Server().ParentDotted(); }
    std::string UserDn(const std::string& login, const std::string& container) const {
        return Server().UserRdn() + login + "," + container;
    }
};

// The scenarios of the servers with naming and password rules of their own: 389 and Active Directory.
class ServerRulesWindowTest : public ServerWindowSuite {};
