#include "client/ldap/names/LdapDn.h"

#include "client/ldap/connection/LdapHandles.h"

#include <vector>

namespace {
std::optional<LdapDnPtr> ParseDn(std::string_view dn) {
    const std::string text(dn);
    LDAPDN parsed = nullptr;
    if (ldap_str2dn(text.c_str(), &parsed, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
        return std::nullopt;
    return LdapDnPtr(parsed);
}

std::string_view View(const berval& value) {
    return {value.bv_val, value.bv_len};
}

std::string RdnValues(LDAPRDN rdn) {
    std::string joined;
    for (LDAPAVA** ava = rdn; *ava; ++ava) {
        if (ava != rdn)
            joined += '+';
        joined += View((*ava)->la_value);
    }
    return joined;
}

berval Borrow(std::string_view text) {
    return {static_cast<ber_len_t>(text.size()), const_cast<char*>(text.data())};
}
} // namespace

std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

std::optional<std::string> NormaliseDn(std::string_view dn) {
    const std::string text(dn);
    char* out = nullptr;
    if (ldap_dn_normalize(text.c_str(), LDAP_DN_FORMAT_LDAPV3, &out, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
        return std::nullopt;
    LdapStringPtr owned(out);
    return FoldCase(owned ? owned.get() : "");
}

std::optional<RdnName> LeafName(std::string_view dn) {
    auto parsed = ParseDn(dn);
    if (!parsed || !*parsed || !parsed->get()[0])
        return std::nullopt;
    LDAPRDN leaf = parsed->get()[0];
    return RdnName{RdnValues(leaf), std::string(View(leaf[0]->la_attr))};
}

std::optional<DnParts> SplitDn(std::string_view dn, bool withSelf) {
    auto parsed = ParseDn(dn);
    if (!parsed || !*parsed || !parsed->get()[0])
        return std::nullopt;
    const auto print = [](LDAPDN rdns) -> std::optional<std::string> {
        char* out = nullptr;
        if (ldap_dn2str(rdns, &out, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
            return std::nullopt;
        LdapStringPtr owned(out);
        return FoldCase(owned ? owned.get() : "");
    };
    LDAPDN all = parsed->get();
    DnParts parts{{RdnValues(all[0]), std::string(View(all[0][0]->la_attr))}, {}, {}};
    auto parent = print(all + 1);
    auto self = withSelf ? print(all) : std::optional<std::string>(std::string());
    if (!parent || !self)
        return std::nullopt;
    parts.parent = std::move(*parent);
    parts.self = std::move(*self);
    return parts;
}

std::optional<std::string> NamingContextName(std::string_view dn) {
    auto parsed = ParseDn(dn);
    if (!parsed || !*parsed || !parsed->get()[0])
        return std::nullopt;
    std::string name;
    for (LDAPRDN* rdn = parsed->get(); *rdn; ++rdn) {
        if (rdn != parsed->get())
            name += '.';
        name += RdnValues(*rdn);
    }
    return name;
}

std::optional<std::string> ChildDn(std::string_view parentDn, std::string_view attribute, std::string_view value) {
    std::optional<LdapDnPtr> parent;
    if (!parentDn.empty()) {
        parent = ParseDn(parentDn);
        if (!parent)
            return std::nullopt;
    }
    LDAPAVA ava{};
    ava.la_attr = Borrow(attribute);
    ava.la_value = Borrow(value);
    ava.la_flags = LDAP_AVA_STRING;
    LDAPAVA* leaf[] = {&ava, nullptr};

    std::vector<LDAPRDN> rdns{leaf};
    if (parent && *parent) {
        for (LDAPRDN* rdn = parent->get(); *rdn; ++rdn)
            rdns.push_back(*rdn);
    }
    rdns.push_back(nullptr);

    char* out = nullptr;
    if (ldap_dn2str(rdns.data(), &out, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
        return std::nullopt;
    LdapStringPtr owned(out);
    return std::string(owned.get());
}
