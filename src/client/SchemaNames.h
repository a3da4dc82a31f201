#pragma once

#include <string_view>

// The directory's vocabulary as the program spells it: the base classes it knows and the
// attributes a User is created with. Every layer compares with these, letter case included.

// The three container classes: only they are listed by a scan and may hold new objects.
inline constexpr const char* kOrganizationClass = "Organization";
inline constexpr const char* kOrganizationalUnitClass = "Organizational Unit";
inline constexpr const char* kCountryClass = "Country";
// Class of the objects a creation run makes.
inline constexpr const char* kUserClass = "User";

// Class of the groups a run's users can join, and its attribute listing them: one line per member,
// each member's dotted name from the top.
inline constexpr const char* kGroupClass = "Group";
inline constexpr const char* kMemberAttribute = "Member";

// Attributes of a new User: its class (syntax kSyntaxClassName) and its surname
// (kSyntaxCaseIgnoreString).
inline constexpr const char* kObjectClassAttribute = "Object Class";
inline constexpr const char* kSurnameAttribute = "Surname";
// Optional with a new User: its initial password (kSyntaxOctetString, the clear text as UTF-8) and,
// only beside it, the demand to change it at first login (kSyntaxBoolean, kTrueValue).
inline constexpr const char* kPasswordAttribute = "Password";
inline constexpr const char* kPasswordMustChangeAttribute = "Password Must Change";
inline constexpr const char* kTrueValue = "1";
// Optional with a new User: when it expires (kSyntaxTime): the first second, since the epoch in
// decimal, at which it may no longer log in.
inline constexpr const char* kLoginExpirationTimeAttribute = "Login Expiration Time";
// Optional with a new User, all four or none: its Linux login. "UID Number" (kSyntaxInteger, decimal,
// or the value a server replaces by a number it assigns), "GID Number" (kSyntaxInteger), "Home
// Directory" and "Login Shell" (kSyntaxCaseIgnoreString, ASCII).
inline constexpr const char* kUidNumberAttribute = "UID Number";
inline constexpr const char* kGidNumberAttribute = "GID Number";
inline constexpr const char* kHomeDirectoryAttribute = "Home Directory";
inline constexpr const char* kLoginShellAttribute = "Login Shell";

// True for Organization, Organizational Unit and Country; the comparison is exact.
constexpr bool IsContainerClass(std::string_view baseClass) {
    return baseClass == kOrganizationClass || baseClass == kOrganizationalUnitClass || baseClass == kCountryClass;
}
