#pragma once

#include "client/UidBlock.h"
#include "client/ldap/connection/LdapSession.h"

#include <cstdint>
#include <string>

// uidNumbers handed out from a counter the directory keeps, so that two runs, two programs or two
// administrators never get the same number and a number once handed out is never handed out again.
// On OpenLDAP and generic servers the counter is the uidNumber of an entry of its own below the
// naming context (kUidCounterRdn), moved by one modify that deletes the old value and adds the new
// one: a modify that meets a value someone else moved meanwhile fails (noSuchAttribute), and the
// reservation reads the counter again and retries.

inline constexpr const char* kUidCounterRdn = "cn=uidNumber counter";

// Reserves `count` consecutive uidNumbers in one step and puts the first into `*first`. A counter
// that does not exist yet is created below `namingContextDn` from the highest uidNumber inside the
// range in use there (one paged search) plus one, or the range's low end. LDAP_SIZELIMIT_EXCEEDED
// when the range cannot hold `count` more (nothing reserved), else the LDAP code.
int ReserveUidNumbers(LdapSession& session, const std::string& namingContextDn, std::uint32_t count,
                      const UidRange& range, std::uint32_t* first);
