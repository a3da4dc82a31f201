#pragma once

#include "client/DirectoryGroup.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/server/LdapObjectClasses.h"

#include <string>
#include <vector>

// Groups on an LDAP server, by the class that says how they list members: posixGroup (memberUid,
// login names), groupOfNames (member, DNs), groupOfUniqueNames (uniqueMember, DNs), Active
// Directory's group (member, DNs). An entry with several of these classes gets its members in each form.

// Every group below the naming contexts, one paged subtree search per context. The LDAP code.
int ListLdapGroups(LDAP* ld, PagingLimits& limits, const ObjectClassSchema& schema,
                   std::vector<DirectoryGroup>* groups);

// Adds `members` to the group `groupDn` with one modify. Values the group holds already make the
// server refuse the modify (attributeOrValueExists; Active Directory: entryAlreadyExists): then the
// group is read and only the missing values are sent. The LDAP code.
int AddLdapGroupMembers(LdapSession& session, const std::string& groupDn, const std::vector<GroupMember>& members);
