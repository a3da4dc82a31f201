#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Dotted names, leaf first ("East.Sales.Acme"). A backslash escapes the character after it, so any
// character can be part of a name. An unescaped "=" makes a part typed: "ou=Sales" names exactly
// the child whose naming attribute is ou and whose value is Sales. "[Root]", unescaped, names the
// top of the tree; it may only stand as the whole name or as its topmost part.

// One part of a dotted name. Typeless parts name a child by its value; typed ones by its
// attribute type as well (at the top of an LDAP tree, `type`=`value` is a naming context's DN).
struct NamePart {
    std::string type; // empty for a typeless part
    std::string value;

    bool operator==(const NamePart&) const = default;
};

// A typeless part as it appears in a dotted name: ".", "\" and "=" get a backslash, and a value
// that is exactly "[Root]" is written "[Root\]" so that it never reads as the top.
std::string EscapeNamePart(std::string_view value);

// A part as it appears in a dotted name: the escaped value for a typeless part; for a typed one
// the type, "=" and the value, with "." and "\" escaped in both.
std::string FormatNamePart(const NamePart& part);

// True for an attribute type as LDAP writes it: a letter followed by letters, digits and "-", or
// a numeric OID ("2.5.4.11").
bool IsAttributeType(std::string_view type);

struct DottedName {
    std::vector<NamePart> parts; // leaf first, escapes removed
    bool fromRoot = false;       // the name ended in "[Root]", which is not among the parts
};

// The parts of a dotted name. Nullopt when a part is empty ("a..b", "a.", ""), a typed part has
// no valid type or an empty value, "[Root]" stands anywhere but at the top, or the name ends in a
// lone backslash.
std::optional<DottedName> SplitDottedName(std::string_view name);

// Joins parts given leaf first into a dotted name, each written by FormatNamePart.
std::string JoinDottedName(const std::vector<NamePart>& partsLeafFirst);

// The values of `path`; nullopt when a part is typed (for a directory whose names have no types).
std::optional<std::vector<std::string>> TypelessValues(const std::vector<NamePart>& path);

// Resolves `name` against a context's name context to the path of parts from the top down
// (empty for the top). A leading "." or a topmost "[Root]" names from the top; otherwise the name
// is relative to `nameContext`, which itself always names from the top. An empty relative name is
// the name context itself. Nullopt for a name that is not well formed.
std::optional<std::vector<NamePart>> ResolveName(std::string_view name, std::string_view nameContext);
