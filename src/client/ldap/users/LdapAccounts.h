#pragma once

#include "client/BatchCandidate.h"
#include "client/ldap/connection/LdapSession.h"

#include <string>
#include <vector>

// The accounts of a batch on an LDAP server. A User here is an entry of the class the program creates
// on that kind of server (inetOrgPerson; Active Directory's user, not one of its subclasses such as
// computer) named by cn. A disabled login is kept the way each kind of server honours it at bind:
// - OpenLDAP: the password policy overlay's pwdAccountLockedTime 000001010000Z (locked until an
//   administrator unlocks it), which the overlay honours where the user's policy has pwdLockout TRUE;
// - 389 Directory Server: nsAccountLock TRUE;
// - Active Directory: ACCOUNTDISABLE (2) in userAccountControl, its other bits kept.
// Generic servers have no known way: rc::kDisableNotSupported. Each returns the LDAP result code, or ours.

// Entries directly below `containerDn` whose cn starts with `prefix` (letter case ignored).
int ReadCandidateEntries(LdapSession& session, const std::string& containerDn, const std::string& prefix,
                         std::vector<BatchCandidate>* candidates);
// Disables the User `dn`, or enables it again; rc::kNotAUser for an entry of another class.
int SetUserLoginDisabled(LdapSession& session, const std::string& dn, bool disabled);
// Deletes the User `dn`; rc::kNotAUser for an entry of another class; the server refuses one that
// holds entries (notAllowedOnNonLeaf).
int DeleteUser(LdapSession& session, const std::string& dn);
