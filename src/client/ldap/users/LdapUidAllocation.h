#pragma once

#include "client/ClientTypes.h"
#include "client/UidBlock.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/server/LdapServerKind.h"

#include <cstdint>
#include <string>

// A run's uidNumbers on an LDAP server, reserved in one step the way the server's own tools do it:
// - OpenLDAP and generic servers: the counter entry below the naming context (LdapUidCounter.h);
// - 389 Directory Server: its Distributed Numeric Assignment plugin where it assigns uidNumber below
//   the naming context (each add carries the plugin's magic value), else the counter entry;
// - Active Directory: the NIS domain's msSFU30MaxUidNumber.
// rc::kUidRangeFull when the range cannot hold `count` more, nothing reserved; else the LDAP code.
NWDSCCODE AllocateUidNumbers(LdapSession& session, LdapServerKind kind, const std::string& namingContextDn,
                             std::uint32_t count, const UidRange& range, UidBlock* block);
