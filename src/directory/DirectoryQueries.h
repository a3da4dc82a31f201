#pragma once

#include "client/DirectoryGroup.h"
#include "client/PasswordSupport.h"

#include <string>
#include <vector>

// Questions the window asks the bound directory beside the procedures: none changes anything.

// What the directory can set with a new User: a password, and the demand to change it.
PasswordSupport DirectoryPasswordSupport();

// The directory's own full name of the User `objectName` (one literal name, as CreateUserObject
// takes it) in `container` (a dotted name from the top, as SetNameContext takes it): an LDAP DN, or
// the embedded directory's dotted name from the top. Empty when the directory cannot tell.
std::string DirectoryNameOf(const std::string& container, const std::string& objectName);

// Every group of the directory that users can join; false when the directory could not list them,
// with its code in `code`.
bool DirectoryGroups(std::vector<DirectoryGroup>* groups, int* code);
