#pragma once

#include "client/ldap/connection/LdapSession.h"

#include <ctime>
#include <string>
#include <vector>

// Adds the entry `dn` with `mods` (LDAP_MOD_ADD, as ldap_add_ext_s takes them), never twice by
// mistake. When the add's answer is lost (the connection dropped or the operation timed out after
// the request went out), the server may have applied it: the entry is read back on a fresh
// connection, as the bound identity. It counts as added when it holds what was sent: the object
// classes among its own, every other attribute's values exactly, except the attributes named in
// `uncompared`, which the server keeps otherwise than sent (a password it hashes, or never hands
// out). When it holds other values the answer is entryAlreadyExists, as the server would give; when
// it is missing the add is sent once more. When the user gets a password (`carriesPassword`), in the
// add or after it, an entry that holds what was sent counts only when its createTimestamp is not
// older than the add (by this machine's clock, to the second); else rc::kPasswordAddInDoubt, and
// nothing more is sent. Returns the LDAP result code, libldap's, or that code.
int AddEntry(LdapSession& session, const std::string& dn, LDAPMod* const* mods,
             const std::vector<std::string>& uncompared = {}, bool carriesPassword = false);

// Whether the entry `dn`'s GeneralizedTime `attribute` (createTimestamp, pwdChangedTime) is at or after
// `since`, to the second; false when it cannot be read.
bool ChangedSince(LdapSession& session, const std::string& dn, const char* attribute, std::time_t since);
