#pragma once

#include "client/ldap/server/LdapObjectClasses.h"

#include <string>
#include <string_view>
#include <vector>

// Base-class name the program shows for an entry, from the whole set of its object classes: the most
// specific one by the server's schema (ObjectClassSchema::MostSpecific). Containers map to the names
// the scan knows ("Organization", "Organizational Unit", "Country"), and an entry named by dc= counts
// as an Organization so that common trees browse; the person classes, Active Directory's "user"
// among them, are "User"; every other class keeps its own name ("container", "computer").
std::string BaseClassName(const std::vector<std::string>& objectClasses, std::string_view namingAttribute,
                          const ObjectClassSchema& schema);
