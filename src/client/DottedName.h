#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Typeless dotted names, leaf first ("East.Sales.Acme"). A backslash escapes a "." or a backslash
// inside one part, so any character can be part of a name. "[Root]" names the top of the tree.

// One name part as it appears in a dotted name: "." and "\" get a backslash in front.
std::string EscapeNamePart(std::string_view part);

// The parts of a dotted name, leaf first, escapes removed. Nullopt when a part is empty
// ("a..b", "a.", "") or the name ends in a lone backslash.
std::optional<std::vector<std::string>> SplitDottedName(std::string_view name);

// Joins parts given leaf first into a dotted name, escaping each part.
std::string JoinDottedName(const std::vector<std::string>& partsLeafFirst);

// Resolves `name` against a context's name context to the path of parts from the top down
// (empty for the top). A leading "." names from the top; otherwise the name is relative to
// `nameContext`, which itself always names from the top. "[Root]" as a whole name, or as the
// topmost part, is the top. An empty relative name is the name context itself.
// Nullopt for a name that is not well formed.
std::optional<std::vector<std::string>> ResolveName(std::string_view name, std::string_view nameContext);
