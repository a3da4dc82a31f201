// The DN codec on libldap's parser and printer. Input: a parent DN on the first line, an
// attribute type on the second, and a value in the rest, taken literally (any bytes).
// Checks: normalising is stable; a UTF-8 value below a parent libldap can print always makes a
// child DN; the child DN has one more RDN than its parent and its leaf is
// the type and value given; the typed name a listing would hand out for it names it again.
#include "FuzzInput.h"
#include "client/DottedName.h"
#include "client/ldap/connection/LdapHandles.h"
#include "client/ldap/names/LdapDn.h"
#include "client/ldap/names/LdapNames.h"

#include <string>

namespace {
// RDNs of `dn`; -1 when libldap does not parse it.
int RdnCount(const std::string& dn) {
    LDAPDN parsed = nullptr;
    if (ldap_str2dn(dn.c_str(), &parsed, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
        return -1;
    LdapDnPtr owned(parsed);
    int count = 0;
    for (LDAPRDN* rdn = parsed; rdn && *rdn; ++rdn)
        ++count;
    return count;
}

// DN values are UTF-8 text (RFC 3629: no overlong forms, no surrogates); libldap refuses to
// print others.
bool IsUtf8(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i);
        std::size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const unsigned char next = byte(i + k);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = InputText(data, size);
    const std::size_t firstEnd = text.find('\n');
    const std::string parent(text.substr(0, firstEnd));
    if (parent.find('\0') != std::string::npos)
        return 0; // libldap reads DNs as C strings
    // Stable once normalised. (libldap turns a few malformed hex values, "dc=# x", into a DN it
    // cannot read back; no server sends those.)
    const auto normalised = NormaliseDn(parent);
    const bool readsBack = normalised && RdnCount(*normalised) >= 0;
    if (readsBack)
        FUZZ_CHECK(NormaliseDn(*normalised) == normalised);
    LeafName(parent);
    NamingContextName(parent);
    if (firstEnd == std::string_view::npos)
        return 0;
    text.remove_prefix(firstEnd + 1);
    const std::size_t secondEnd = text.find('\n');
    if (secondEnd == std::string_view::npos)
        return 0;
    const std::string type(text.substr(0, secondEnd));
    const std::string value(text.substr(secondEnd + 1));
    const int parentRdns = parent.empty() ? 0 : RdnCount(parent);
    // A parent libldap cannot print and read back (values that are not UTF-8 once unescaped, the
    // malformed hex above) is no DN a server hands out.
    if (parentRdns < 0 || (!parent.empty() && !readsBack) || !IsAttributeType(type) || value.empty() || !IsUtf8(value))
        return 0;

    const auto child = ChildDn(parent, type, value);
    FUZZ_CHECK(child.has_value());
    FUZZ_CHECK(RdnCount(*child) == parentRdns + 1);
    const auto leaf = LeafName(*child);
    FUZZ_CHECK(leaf && leaf->value == value && leaf->attribute == type);
    FUZZ_CHECK(NormaliseDn(*child).has_value());

    // Two siblings that share the value are handed out typed; each name names its own entry.
    if (parent.empty())
        return 0;
    const std::string other = type == "ou" ? "o" : "ou";
    const std::vector<ListedEntry> siblings{{*child, value, "Organization"},
                                            {*ChildDn(parent, other, value), value, "Organization"}};
    const auto names = HandOutNames(siblings, parent);
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        const auto split = SplitDottedName(names[i]);
        FUZZ_CHECK(split && split->parts.size() == 1);
        const NamePart& part = split->parts.front();
        FUZZ_CHECK(!part.type.empty());
        FUZZ_CHECK(NormaliseDn(*TypedPartDn(parent, part.type, part.value)) == NormaliseDn(siblings[i].dn));
    }
    return 0;
}
