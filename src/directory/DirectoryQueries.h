#pragma once

#include "client/ExpirySupport.h"
#include "client/PasswordSupport.h"

#include <string>

// Questions the window asks the bound directory beside the procedures: none changes anything.

// What the directory can set with a new User: a password, and the demand to change it.
PasswordSupport DirectoryPasswordSupport();
// Whether a new User can be made to expire by itself, and why not.
ExpiryLimit DirectoryExpirySupport();

// The directory's own full name of the User `objectName` (one literal name, as CreateUserObject
// takes it) in `container` (a dotted name from the top, as SetNameContext takes it): an LDAP DN, or
// the embedded directory's dotted name from the top. Empty when the directory cannot tell.
std::string DirectoryNameOf(const std::string& container, const std::string& objectName);
