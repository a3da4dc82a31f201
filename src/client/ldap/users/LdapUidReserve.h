#pragma once

#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/users/LdapUidCounter.h"

#include <cstdint>
#include <functional>
#include <string>

// What every uidNumber counter shares, whichever entry and attribute a server's own tools keep it in:
// the counter holds the next number to hand out and is moved by one modify that deletes the old
// value and adds the new one, so that a modify meeting a value someone else moved meanwhile fails
// and the reservation reads the counter again.

// The number after the highest uidNumber inside `range` below `base` (one paged search), or the
// range's low end when none is in use there. The LDAP code.
int FirstFreeUidNumber(LdapSession& session, const std::string& base, const UidRange& range, std::uint64_t* next);

// Makes the counter hold `next`, where it was missing; LDAP_SUCCESS also when someone else made it
// meanwhile (then theirs counts).
using CreateCounter = std::function<int(std::uint64_t next)>;

// Reserves `count` consecutive numbers from the counter `attribute` of `dn`, puts the first into
// `*first`. A missing counter is made by `create` with FirstFreeUidNumber below `namingContextDn`.
// LDAP_SIZELIMIT_EXCEEDED when the range cannot hold `count` more (nothing reserved), LDAP_BUSY
// when others kept moving it, else the LDAP code.
int ReserveFromCounter(LdapSession& session, const std::string& dn, const char* attribute,
                       const std::string& namingContextDn, std::uint32_t count, const UidRange& range,
                       const CreateCounter& create, std::uint32_t* first);
