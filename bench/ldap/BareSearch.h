#pragma once

#include "client/ldap/connection/LdapHandles.h"

#include <string>

// The scan's work done with nothing but libldap, the references the benchmarks compare with.
struct BareCount {
    long containers = 0; // naming contexts and entries of a container class
    long objects = 0;    // everything listed below the top
    long searches = 0;
};

// The scan's one-level walk from the naming contexts down: one search per container, asking for
// the object classes only. Returns the LDAP result code of the first search that failed.
int BareOneLevelWalk(LDAP* ld, BareCount* count);

// One subtree search per naming context, without paging: the least any scan can cost.
int BareSubtreeSearch(LDAP* ld, BareCount* count);
