// LdapClient: the accounts of a batch (LdapAccounts.h).
#include "client/ldap/LdapClient.h"

#include "client/ResultCodes.h"
#include "client/ldap/LdapClientCode.h"
#include "client/ldap/users/LdapAccounts.h"
#include "client/ldap/users/LdapUserAdd.h"

NWDSCCODE LdapClient::CandidatesIn(const std::vector<NamePart>& container, const std::string& prefix,
                                   std::vector<BatchCandidate>* candidates) {
    KnownDn parent;
    if (const NWDSCCODE code = names_.Resolve(container, &parent); code != rc::kSuccess)
        return ClientCode(code);
    return ClientCode(ReadCandidateEntries(session_, parent.dn, prefix, candidates));
}

NWDSCCODE LdapClient::SetLoginDisabledAt(const std::vector<NamePart>& path, bool disabled) {
    std::string dn;
    if (const NWDSCCODE code = UserDn(names_, path, &dn); code != rc::kSuccess)
        return ClientCode(code);
    return ClientCode(SetUserLoginDisabled(session_, dn, disabled));
}

NWDSCCODE LdapClient::RemoveAt(const std::vector<NamePart>& path) {
    std::string dn;
    if (const NWDSCCODE code = UserDn(names_, path, &dn); code != rc::kSuccess)
        return ClientCode(code);
    return ClientCode(DeleteUser(session_, dn));
}

ExpiryLimit LdapClient::QueryExpirySupport() {
    LdapServerFacts server;
    if (session_.Run([&](LDAP* ld) { return session_.server().Facts(ld, &server); }) != LDAP_SUCCESS)
        return ExpiryLimit::Unreachable;
    switch (server.kind) {
    case LdapServerKind::ActiveDirectory:
        return ExpiryLimit::None;
    case LdapServerKind::OpenLdap:
    case LdapServerKind::Dirsrv389:
        return ExpiryLimit::NoPosixAccounts;
    case LdapServerKind::Generic:
        break;
    }
    return ExpiryLimit::UnknownServer;
}
