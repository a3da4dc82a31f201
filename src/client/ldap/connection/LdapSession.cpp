#include "client/ldap/connection/LdapSession.h"

#include "client/ResultCodes.h"
#include "client/ldap/connection/LdapAuthzId.h"
#include "client/ldap/connection/LdapExternalBind.h"
#include "client/ldap/connection/LdapPasswordFile.h"
#include "client/ldap/connection/LdapTls.h"

#include <strings.h>

#include <csignal>
#include <utility>

bool IsConnectionLoss(int code) {
    return code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR || code == LDAP_TIMEOUT;
}

LdapSession::LdapSession(LdapSettings settings) : settings_(std::move(settings)) {}

int LdapSession::Initialise() {
    // A write to the socket of a server that has just died must not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    started_ = true;
    if (ld_)
        return LDAP_SUCCESS;
    LDAP* raw = nullptr;
    const int code = ldap_initialize(&raw, settings_.uri.empty() ? nullptr : settings_.uri.c_str());
    LdapPtr ld(raw);
    if (code != LDAP_SUCCESS)
        return code;
    const int version = LDAP_VERSION3;
    timeval network{settings_.networkTimeoutSeconds, 0};
    timeval operation{settings_.operationTimeoutSeconds, 0};
    for (const auto& [option, value] : {std::pair<int, const void*>{LDAP_OPT_PROTOCOL_VERSION, &version},
                                        {LDAP_OPT_NETWORK_TIMEOUT, &network},
                                        {LDAP_OPT_TIMEOUT, &operation},
                                        {LDAP_OPT_REFERRALS, LDAP_OPT_OFF}}) {
        if (const int set = ldap_set_option(ld.get(), option, value); set != LDAP_OPT_SUCCESS)
            return set;
    }
    if (BindsWithPassword()) {
        if (const int set = DemandVerifiedCertificates(ld.get()); set != LDAP_OPT_SUCCESS)
            return set;
    }
    ld_ = std::move(ld);
    connected_ = false;
    bound_ = false;
    server_.Forget();
    return LDAP_SUCCESS;
}

int LdapSession::Connect() {
    // Each step takes the ones before it first when they are not done.
    int code = ld_ ? LDAP_SUCCESS : Initialise();
    if (code != LDAP_SUCCESS || connected_)
        return code;
    code = ldap_connect(ld_.get());
    DropOnConnectionLoss(code);
    connected_ = code == LDAP_SUCCESS;
    return code;
}

int LdapSession::Bind() {
    int code = connected_ ? LDAP_SUCCESS : Connect();
    if (code != LDAP_SUCCESS || bound_)
        return code;
    const bool localSocket = ldap_is_ldapi_url(settings_.uri.c_str()) != 0;
    // Anonymous unless a bind below says otherwise.
    std::optional<std::string> identity = std::string();
    if (strcasecmp(settings_.saslMech.c_str(), "EXTERNAL") == 0 || (localSocket && settings_.bindDn.empty())) {
        // EXTERNAL needs no SASL library on our side: the server takes the identity from the socket.
        std::optional<std::string> reported;
        code = ExternalBind(ld_.get(), &reported);
        identity = reported ? std::optional<std::string>(AuthzIdName(*reported)) : std::nullopt;
    } else if (BindsWithPassword()) {
        // A password travels only over the local socket or TLS with a verified certificate, judged
        // on the connection made (a URI list may have moved on to a plain server).
        code = ProtectConnection(ld_.get());
        if (code == LDAP_SUCCESS && !ConnectionProtected(ld_.get()))
            code = rc::kInsecureBind;
        if (code != LDAP_SUCCESS) {
            // The connection is in no state for a retry: the next operation connects afresh.
            Drop();
            return code;
        }
        std::string password;
        if (const int read = ReadPasswordFile(settings_.passwordFile, &password); read != rc::kSuccess)
            return read;
        berval credentials{static_cast<ber_len_t>(password.size()), password.data()};
        code = ldap_sasl_bind_s(ld_.get(), settings_.bindDn.c_str(), LDAP_SASL_SIMPLE, &credentials, nullptr, nullptr,
                                nullptr);
        identity = DnText(settings_.bindDn);
    }
    DropOnConnectionLoss(code);
    bound_ = code == LDAP_SUCCESS;
    if (bound_)
        boundIdentity_ = std::move(identity);
    return code;
}

bool LdapSession::BindsWithPassword() const {
    return !settings_.bindDn.empty() && strcasecmp(settings_.saslMech.c_str(), "EXTERNAL") != 0;
}

int LdapSession::Reconnect() {
    if (!started_)
        return rc::kNotStarted;
    if (bound_ && ld_)
        return LDAP_SUCCESS;
    if (const int code = Connect(); code != LDAP_SUCCESS)
        return code;
    // A server going down may still take the connection and then drop it before the bind is
    // answered; libldap moves on to the next server of the list only when one refuses outright.
    const int code = Bind();
    return IsConnectionLoss(code) ? Bind() : code;
}

int LdapSession::Run(const std::function<int(LDAP*)>& operation) {
    const bool wasOpen = bound_ && ld_;
    if (const int code = Reconnect(); code != LDAP_SUCCESS)
        return code;
    int code = operation(ld_.get());
    if (code == LDAP_SERVER_DOWN || code == LDAP_CONNECT_ERROR) {
        DropOnConnectionLoss(code);
        // A connection left over from before a server restart fails on first use; a fresh one may not.
        if (wasOpen && Reconnect() == LDAP_SUCCESS) {
            code = operation(ld_.get());
            DropOnConnectionLoss(code);
        }
    }
    return code;
}

int LdapSession::RunWrite(const std::function<int(LDAP*)>& operation, bool* sent) {
    *sent = false;
    if (const int code = Reconnect(); code != LDAP_SUCCESS)
        return code;
    *sent = true;
    const int code = operation(ld_.get());
    DropOnConnectionLoss(code);
    return code;
}

void LdapSession::DropOnConnectionLoss(int code) {
    if (IsConnectionLoss(code))
        Drop();
}

void LdapSession::Drop() {
    ld_.reset();
    connected_ = false;
    bound_ = false;
    boundIdentity_.reset();
}
