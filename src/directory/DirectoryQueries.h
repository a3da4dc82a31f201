#pragma once

#include "client/ClientTypes.h"
#include "client/DirectoryGroup.h"
#include "client/ExpirySupport.h"
#include "client/PasswordSupport.h"
#include "client/PosixSupport.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

// Questions the window asks the bound directory beside the procedures: none changes anything.

// What the directory can set with a new User: a password, and the demand to change it.
PasswordSupport DirectoryPasswordSupport();
// Whether a new User can be made to expire by itself, and why not.
ExpiryLimit DirectoryExpirySupport();
// Whether a new User can get a Linux login (POSIX), and why not.
PosixLimit DirectoryPosixSupport();

// The directory's own full name of the User `objectName` (one literal name, as CreateUserObject
// takes it) in `container` (a dotted name from the top, as SetNameContext takes it): an LDAP DN, or
// the embedded directory's dotted name from the top. Empty when the directory cannot tell.
std::string DirectoryNameOf(const std::string& container, const std::string& objectName);

// The directory's own full name of the container `container` (a dotted name from the top): an LDAP
// DN, or the embedded directory's dotted name. Empty for "[Root]" and when the directory cannot tell.
std::string ContainerDirectoryName(const std::string& container);

// The entry names of the container `container` (a dotted name from the top) as its listing hands
// them out (escaped, as EscapeNamePart gives a literal name); nullopt with the code when the
// listing failed.
std::optional<std::set<std::string>> ListEntryNames(const std::string& container, NWDSCCODE* code);

// Every group of the directory that users can join; false when the directory could not list them,
// with its code in `code`.
bool DirectoryGroups(std::vector<DirectoryGroup>* groups, int* code);
