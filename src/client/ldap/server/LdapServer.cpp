#include "client/ldap/server/LdapServer.h"

#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapDn.h"

#include <array>

namespace {
// The object class descriptions of the subschema entry `dn`; none when it cannot be read.
std::vector<std::string> ReadObjectClasses(LDAP* ld, const std::string& dn, int* code) {
    std::vector<std::string> descriptions;
    std::array<char*, 2> attributes{const_cast<char*>("objectClasses"), nullptr};
    LDAPMessage* raw = nullptr;
    *code = ldap_search_ext_s(ld, dn.c_str(), LDAP_SCOPE_BASE, "(objectClass=*)", attributes.data(), 0, nullptr,
                              nullptr, nullptr, LDAP_NO_LIMIT, &raw);
    const LdapMessagePtr result(raw);
    LDAPMessage* entry = *code == LDAP_SUCCESS ? ldap_first_entry(ld, result.get()) : nullptr;
    if (!entry)
        return descriptions;
    const BervalsPtr values(ldap_get_values_len(ld, entry, "objectClasses"));
    for (berval** value = values.get(); value && *value; ++value)
        descriptions.emplace_back((*value)->bv_val, (*value)->bv_len);
    return descriptions;
}
} // namespace

std::string DomainDnsName(const std::string& dn) {
    LDAPDN parsed = nullptr;
    if (dn.empty() || ldap_str2dn(dn.c_str(), &parsed, LDAP_DN_FORMAT_LDAPV3) != LDAP_SUCCESS)
        return {};
    const LdapDnPtr owned(parsed);
    std::string name;
    for (LDAPRDN* rdn = owned.get(); rdn && *rdn; ++rdn) {
        const LDAPAVA* ava = (*rdn)[0];
        if ((*rdn)[1] || FoldCase(std::string_view(ava->la_attr.bv_val, ava->la_attr.bv_len)) != "dc")
            return {};
        if (!name.empty())
            name += '.';
        name.append(ava->la_value.bv_val, ava->la_value.bv_len);
    }
    return name;
}

int LdapServer::ReadRootDseOnce(LDAP* ld) {
    if (root_)
        return LDAP_SUCCESS;
    RootDse root;
    const int code = ReadRootDse(ld, &root);
    if (IsConnectionLoss(code))
        return code;
    // A root DSE hidden from us leaves a generic server, not a failure.
    root_ = code == LDAP_SUCCESS ? std::move(root) : RootDse{};
    return LDAP_SUCCESS;
}

int LdapServer::Facts(LDAP* ld, LdapServerFacts* facts) {
    if (const int code = ReadRootDseOnce(ld); code != LDAP_SUCCESS)
        return code;
    facts->kind = Kind();
    facts->passwordWay = PasswordWayOf(facts->kind, *root_);
    const std::string& domain = !root_->defaultNamingContext.empty() ? root_->defaultNamingContext
                                : root_->namingContexts.empty()      ? std::string()
                                                                     : root_->namingContexts.front();
    facts->domainDnsName = DomainDnsName(domain);
    return LDAP_SUCCESS;
}

LdapServerKind LdapServer::Kind() const {
    return kindSetting_ ? *kindSetting_ : DetectServerKind(*root_);
}

int LdapServer::MustChange(LDAP* ld, const std::string& dn, MustChangePolicy* policy) {
    if (!mustChange_) {
        if (const int code = ReadRootDseOnce(ld); code != LDAP_SUCCESS)
            return code;
        MustChangePolicies read;
        if (const int code = ReadMustChangePolicy(ld, Kind(), *root_, &read); code != LDAP_SUCCESS)
            return code;
        mustChange_ = read;
    }
    *policy = dn.empty() ? mustChange_->whole : mustChange_->For(dn);
    return LDAP_SUCCESS;
}

const ObjectClassSchema& LdapServer::Classes(LDAP* ld) {
    if (classes_)
        return *classes_;
    static const ObjectClassSchema standard;
    if (ReadRootDseOnce(ld) != LDAP_SUCCESS || root_->subschemaSubentry.empty())
        return standard;
    int code = LDAP_SUCCESS;
    const std::vector<std::string> descriptions = ReadObjectClasses(ld, root_->subschemaSubentry, &code);
    if (IsConnectionLoss(code))
        return standard;
    classes_.emplace();
    for (const std::string& description : descriptions)
        classes_->AddDefinition(description);
    return *classes_;
}

void LdapServer::Forget() {
    root_.reset();
    classes_.reset();
    mustChange_.reset();
}
