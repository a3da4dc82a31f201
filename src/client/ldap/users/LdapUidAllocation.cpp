#include "client/ldap/users/LdapUidAllocation.h"

#include "client/ResultCodes.h"
#include "client/ldap/users/LdapUidCounter.h"

NWDSCCODE AllocateUidNumbers(LdapSession& session, LdapServerKind kind, const std::string& namingContextDn,
                             std::uint32_t count, const UidRange& range, UidBlock* block) {
    *block = UidBlock{};
    int code = LDAP_SUCCESS;
    switch (kind) {
    case LdapServerKind::ActiveDirectory:
        // MERGE POINT (Active Directory): ReserveAdUidNumbers (ActiveDirectoryUidCounter.h) goes here;
        // until then the counter entry below.
        [[fallthrough]];
    case LdapServerKind::Dirsrv389:
        // MERGE POINT (389 Directory Server): FindDnaUidMagic (DirsrvDnaRange.h) first; with a magic
        // value, block->serverValue = *magic and nothing more is reserved. Until then the counter entry.
        [[fallthrough]];
    case LdapServerKind::OpenLdap:
    case LdapServerKind::Generic:
        code = ReserveUidNumbers(session, namingContextDn, count, range, &block->first);
        break;
    }
    return code == LDAP_SIZELIMIT_EXCEEDED ? rc::kUidRangeFull : code;
}
