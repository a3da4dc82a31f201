#pragma once

#include "client/ClientTypes.h"
#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/connection/LdapSettings.h"
#include "client/ldap/search/LdapPagedSearch.h"
#include "client/ldap/server/LdapServer.h"

#include <functional>
#include <optional>
#include <string>

// The one connection of the LDAP backend. The three client start steps initialise, connect and
// bind it; afterwards every operation runs through Run() (reads) or RunWrite(), which connect and
// bind again when the server went away, so a restarted server, or the next server of the URI list,
// is used without restarting the program.
class LdapSession {
public:
    explicit LdapSession(LdapSettings settings);

    // Start step 1: libldap handle with protocol 3 and timeouts; nothing is sent yet.
    int Initialise();
    // Start step 2: open the connection.
    int Connect();
    // Start step 3: bind as the settings say (SASL EXTERNAL, simple bind or anonymous).
    int Bind();

    bool Started() const { return started_; }

    // Runs a read, `operation`, on a connected, bound handle and returns its code. When the server
    // turns out to be gone on a connection that was open before, the read is tried once more on a
    // fresh connection; it never waits for a server that is not there.
    int Run(const std::function<int(LDAP*)>& operation);
    // Runs a write once on a connected, bound handle and returns its code; never again, since the
    // server may have applied it before its answer was lost. `*sent` tells whether it went out at
    // all (false when no connection could be made). A lost connection is dropped, so the next
    // operation connects afresh.
    int RunWrite(const std::function<int(LDAP*)>& operation, bool* sent);

    const LdapSettings& settings() const { return settings_; }
    // What the searches have learnt about the server's paging; kept across reconnects to the same server.
    PagingLimits& paging() { return paging_; }
    // The server of the current connection (kind, schema), read anew after each reconnect.
    LdapServer& server() { return server_; }
    // The identity the last bind bound as, while bound: the bind DN of a simple bind, what the server
    // reported for SASL, empty for anonymous; nullopt when not bound or the server did not say.
    const std::optional<std::string>& boundIdentity() const { return boundIdentity_; }

private:
    bool BindsWithPassword() const;
    int Reconnect();
    void DropOnConnectionLoss(int code);
    void Drop();

    LdapSettings settings_;
    PagingLimits paging_;
    LdapServer server_{settings_.serverKind};
    std::optional<std::string> boundIdentity_;
    LdapPtr ld_;
    bool started_ = false;
    bool connected_ = false;
    bool bound_ = false;
};

// True for libldap's codes that mean the connection is unusable.
bool IsConnectionLoss(int code);
