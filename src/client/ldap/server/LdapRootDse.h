#pragma once

#include "client/ldap/connection/LdapHandles.h"

#include <string>
#include <vector>

// What a server says of itself in its root DSE, as far as the client uses it.
struct RootDse {
    std::vector<std::string> objectClasses;
    std::string vendorName;
    std::string vendorVersion;
    std::vector<std::string> supportedCapabilities;
    std::vector<std::string> supportedControls;
    std::vector<std::string> supportedExtensions;
    std::vector<std::string> namingContexts;
    std::string defaultNamingContext;
    std::string subschemaSubentry;
    std::string configContext; // OpenLDAP: where its configuration lives (cn=config)
};

// Reads the root DSE (attribute names matched in any case, as servers spell them differently).
// Returns the LDAP result code.
int ReadRootDse(LDAP* ld, RootDse* root);
