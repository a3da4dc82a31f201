#pragma once

#include "client/embedded/EmbeddedStore.h"

#include <vector>

// Version of the store layout this program writes; kept in the meta table.
inline constexpr int kEmbeddedSchemaVersion = 1;

// Statements that create the store's tables on an empty database.
extern const char* const kEmbeddedSchemaSql;

// The sample tree a new store is given, parents before children.
struct SampleObject {
    const char* dottedName;
    const char* baseClass;
    const char* surname; // null for objects without one
};
const std::vector<SampleObject>& SampleTree();

// Attributes a User's password is kept in: the hash (PasswordHash.h) and, when the password must be
// changed at first login, kPasswordMustChangeAttribute with kTrueValue (SchemaNames.h). The clear
// text is never stored.
inline constexpr const char* kPasswordHashAttribute = "Password Hash";

// A User whose login is disabled holds kLoginDisabledAttribute with kTrueValue; one that expires
// holds kLoginExpirationTimeAttribute (SchemaNames.h) as the add carried it. Logins honour both
// (EmbeddedLogin.h).
inline constexpr const char* kLoginDisabledAttribute = "Login Disabled";

// Identity under which the embedded directory is entered: its administrator's User object.
inline constexpr const char* kAdministratorName = "Admin.Acme";
