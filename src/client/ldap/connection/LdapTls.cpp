#include "client/ldap/connection/LdapTls.h"

#include "client/ResultCodes.h"
#include "client/ldap/connection/LdapSaslBind.h"

#include <sys/socket.h>

#include <mutex>

namespace {
bool OverLocalSocket(LDAP* ld) {
    int fd = -1;
    if (ldap_get_option(ld, LDAP_OPT_DESC, &fd) != LDAP_OPT_SUCCESS || fd < 0)
        return false;
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    return getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0 && address.ss_family == AF_UNIX;
}

bool VerifiesCertificates(LDAP* ld) {
    int check = LDAP_OPT_X_TLS_NEVER;
    return ldap_get_option(ld, LDAP_OPT_X_TLS_REQUIRE_CERT, &check) == LDAP_OPT_SUCCESS &&
           (check == LDAP_OPT_X_TLS_DEMAND || check == LDAP_OPT_X_TLS_HARD);
}
} // namespace

int DemandVerifiedCertificates(LDAP* ld) {
    const int demand = LDAP_OPT_X_TLS_DEMAND;
    // A handle has no CA paths of its own (libldap keeps them with the process's options) and
    // uses the process's TLS context, so that context is made anew with the check demanded, once:
    // sessions of other threads must not see it replaced twice.
    static std::mutex processOptions;
    const std::lock_guard<std::mutex> lock(processOptions);
    if (!VerifiesCertificates(nullptr)) {
        const int client = 0;
        if (const int code = ldap_set_option(nullptr, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand); code != LDAP_OPT_SUCCESS)
            return code;
        if (const int code = ldap_set_option(nullptr, LDAP_OPT_X_TLS_NEWCTX, &client); code != LDAP_OPT_SUCCESS)
            return code;
    }
    return VerifiesCertificates(ld) ? LDAP_SUCCESS : ldap_set_option(ld, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand);
}

int ProtectConnection(LDAP* ld) {
    if (OverLocalSocket(ld) || ldap_tls_inplace(ld))
        return LDAP_SUCCESS;
    const int code = ldap_start_tls_s(ld, nullptr, nullptr);
    // The server agreed, but the handshake failed: its certificate did not verify.
    return code == LDAP_CONNECT_ERROR ? rc::kUnverifiedServer : code;
}

ConnectionProtection ProtectionOf(LDAP* ld) {
    if (OverLocalSocket(ld))
        return ConnectionProtection::LocalSocket;
    const bool tls = ldap_tls_inplace(ld) != 0;
    if (tls && VerifiesCertificates(ld))
        return ConnectionProtection::VerifiedTls;
    if (SaslStrength(ld) >= kSealedStrength)
        return ConnectionProtection::SealedKerberos;
    return tls ? ConnectionProtection::UnverifiedTls : ConnectionProtection::None;
}

bool ConnectionProtected(LDAP* ld) {
    return CarriesPasswords(ProtectionOf(ld));
}
