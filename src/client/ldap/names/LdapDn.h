#pragma once

#include <optional>
#include <string>
#include <string_view>

// DN work done with libldap's own parser and printer, never by pasting strings.

// Form in which two DNs compare equal when the server would treat them as one: libldap's
// normalisation ("\,", "\2C" and spacing agree), then ASCII letters folded, since the naming
// attributes of the trees we browse (o, ou, c, dc, cn, l) all match regardless of case.
std::optional<std::string> NormaliseDn(std::string_view dn);

// Value folded the same way, for comparing an entry's name with a name part.
std::string FoldCase(std::string_view text);

// An entry's own name: the values of its first RDN (joined by "+" for a multi-valued one), and
// the attribute type of that RDN's first value.
struct RdnName {
    std::string value;
    std::string attribute;
};
std::optional<RdnName> LeafName(std::string_view dn);

// An entry's DN taken apart in one parse: its own name (as LeafName gives it) and the normalised
// forms (as NormaliseDn gives them) of its parent's DN and, when `withSelf`, of its own. The parent
// of a DN of one RDN is the empty DN. Nullopt when `dn` is no valid DN or the empty one.
struct DnParts {
    RdnName leaf;
    std::string parent;
    std::string self;
};
std::optional<DnParts> SplitDn(std::string_view dn, bool withSelf);

// Name of a naming context shown as one top container: the RDN values leaf first joined by "."
// ("dc=example,dc=com" -> "example.com", "o=Acme" -> "Acme").
std::optional<std::string> NamingContextName(std::string_view dn);

// DN of the entry `attribute`=`value` directly below `parentDn`; the value is taken literally,
// whatever characters it holds. Nullopt when the parent is not a valid DN.
std::optional<std::string> ChildDn(std::string_view parentDn, std::string_view attribute, std::string_view value);
