#include "client/ldap/users/LdapUidAllocation.h"

#include "client/ResultCodes.h"
#include "client/ldap/users/ActiveDirectoryUidCounter.h"
#include "client/ldap/users/DirsrvDnaRange.h"
#include "client/ldap/users/LdapUidCounter.h"

#include <optional>

NWDSCCODE AllocateUidNumbers(LdapSession& session, LdapServerKind kind, const std::string& namingContextDn,
                             std::uint32_t count, const UidRange& range, UidBlock* block) {
    *block = UidBlock{};
    int code = LDAP_SUCCESS;
    switch (kind) {
    case LdapServerKind::ActiveDirectory:
        code = ReserveAdUidNumbers(session, namingContextDn, count, range, &block->first);
        break;
    case LdapServerKind::Dirsrv389: {
        // Where DNA hands out uidNumbers below the naming context, each add carries its magic value and
        // the server numbers the user; nothing is reserved here.
        std::optional<std::string> magic;
        code = FindDnaUidMagic(session, namingContextDn, &magic);
        if (code != LDAP_SUCCESS)
            break;
        if (magic) {
            block->serverValue = *magic;
            break;
        }
        code = ReserveUidNumbers(session, namingContextDn, count, range, &block->first);
        break;
    }
    case LdapServerKind::OpenLdap:
    case LdapServerKind::Generic:
        code = ReserveUidNumbers(session, namingContextDn, count, range, &block->first);
        break;
    }
    return code == LDAP_SIZELIMIT_EXCEEDED ? rc::kUidRangeFull : code;
}
