#pragma once

#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/users/LdapUserProfile.h"

#include <string>

// The password of a new inetOrgPerson on OpenLDAP: nothing of it goes into the add. The server gets it
// right after, by the Password Modify extended operation (RFC 3062), hashes it by its own scheme
// (olcPasswordHash) and checks it against its password policy (ppolicy quality checks), as for any
// password change. Must-change: pwdReset TRUE after that, since ppolicy clears pwdReset on an
// administrator's change.
void SetOpenLdapPasswordAfterAdd(const NewUser& user, UserEntry* entry);

// Sets `password` on the entry `dn` just added, then pwdReset TRUE when `mustChange`. When the server
// refuses either, the entry is deleted again, so that nothing of the user is left, and the server's
// code returned. An answer that is lost is judged by the entry's pwdChangedTime (ppolicy keeps it) and
// otherwise the password is sent once more: a password set twice is the same password. LDAP_SUCCESS,
// or the LDAP result code or libldap's.
int SetPasswordAfterAdd(LdapSession& session, const std::string& dn, const std::string& password, bool mustChange);
