#pragma once

#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/users/LdapUidCounter.h"

#include <cstdint>
#include <string>

// uidNumbers on Active Directory, where its own tools keep them: msSFU30MaxUidNumber of the NIS
// domain object CN=<NIS domain>,CN=ypservers,CN=ypServ30,CN=RpcServices,CN=System,<naming context>,
// the NIS domain being the domain's NetBIOS name in lower case. The value is the next number to hand
// out, moved by one modify that deletes the old value and adds the new one.

// Reserves `count` consecutive uidNumbers in one step and puts the first into `*first`. Where the
// NIS domain object lacks the value (Samba provisioned with RFC 2307 attributes makes the object
// without it) the value is added, and where the object is missing it is created, as the domain's
// tools would: from the highest uidNumber inside the range in use below `namingContextDn` (one paged
// search) plus one, or the range's low end. LDAP_SIZELIMIT_EXCEEDED when the range cannot hold
// `count` more (nothing reserved), else the LDAP code.
int ReserveAdUidNumbers(LdapSession& session, const std::string& namingContextDn, std::uint32_t count,
                        const UidRange& range, std::uint32_t* first);
