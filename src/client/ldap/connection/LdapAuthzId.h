#pragma once

#include <string>
#include <string_view>

// The name an authorisation identity (RFC 4513) shows as. "dn:" followed by a DN gives that DN in
// LDAPv3 string form with its letter case kept ("dn: cn=Directory Manager" -> "cn=Directory
// Manager"); "u:" followed by a user name gives the name as it stands; an empty identity, or "dn:"
// with an empty DN, is anonymous and gives an empty name. Any other text stays as it is.
std::string AuthzIdName(std::string_view authzId);

// `dn` in LDAPv3 string form, letter case and UTF-8 kept ("uid=a, ou=x" -> "uid=a,ou=x"); the text as
// it stands when it is no DN.
std::string DnText(std::string_view dn);
