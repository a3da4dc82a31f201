#include "ServerConnection.h"

#include <memory>

bool TrustForNewHandles(const std::string& caFile) {
    const int fresh = 0;
    return ldap_set_option(nullptr, LDAP_OPT_X_TLS_CACERTFILE, caFile.c_str()) == LDAP_OPT_SUCCESS &&
           ldap_set_option(nullptr, LDAP_OPT_X_TLS_NEWCTX, &fresh) == LDAP_OPT_SUCCESS;
}

void ServerConnection::Open(const std::string& uri) {
    LDAP* raw = nullptr;
    bindCode_ = ldap_initialize(&raw, uri.c_str());
    ld_.reset(raw);
    if (ld_) {
        const int version = LDAP_VERSION3;
        ldap_set_option(ld_.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    }
}

ServerConnection ServerConnection::OverTls(const std::string& uri, const std::string& caFile, const std::string& dn,
                                           const std::string& password) {
    ServerConnection connection;
    connection.Open(uri);
    LDAP* ld = connection.ld_.get();
    if (!ld)
        return connection;
    // Options of this handle only, then a TLS context of its own made from them.
    const int demand = LDAP_OPT_X_TLS_DEMAND;
    const int client = 0;
    if (ldap_set_option(ld, LDAP_OPT_X_TLS_REQUIRE_CERT, &demand) != LDAP_OPT_SUCCESS ||
        ldap_set_option(ld, LDAP_OPT_X_TLS_CACERTFILE, caFile.c_str()) != LDAP_OPT_SUCCESS ||
        ldap_set_option(ld, LDAP_OPT_X_TLS_NEWCTX, &client) != LDAP_OPT_SUCCESS) {
        connection.bindCode_ = LDAP_LOCAL_ERROR;
        return connection;
    }
    berval credentials{static_cast<ber_len_t>(password.size()), const_cast<char*>(password.data())};
    connection.bindCode_ = ldap_sasl_bind_s(ld, dn.c_str(), LDAP_SASL_SIMPLE, &credentials, nullptr, nullptr, nullptr);
    return connection;
}

ServerConnection ServerConnection::OverSocket(const std::string& uri) {
    ServerConnection connection;
    connection.Open(uri);
    if (!connection.ld_)
        return connection;
    berval noAuthzid{0, const_cast<char*>("")};
    connection.bindCode_ =
        ldap_sasl_bind_s(connection.ld_.get(), nullptr, "EXTERNAL", &noAuthzid, nullptr, nullptr, nullptr);
    return connection;
}

std::string ServerConnection::WhoAmI() {
    berval* raw = nullptr;
    const int code = ldap_whoami_s(ld_.get(), &raw, nullptr, nullptr);
    BervalPtr identity(raw);
    if (code != LDAP_SUCCESS)
        return "<code " + std::to_string(code) + ">";
    return identity ? std::string(identity->bv_val, identity->bv_len) : std::string();
}

ServerConnection::Result ServerConnection::Search(const std::string& base, int scope, const std::string& filter,
                                                  const std::vector<std::string>& attributes) {
    std::vector<char*> names;
    for (const std::string& name : attributes)
        names.push_back(const_cast<char*>(name.c_str()));
    names.push_back(nullptr);
    LDAPMessage* raw = nullptr;
    Result result;
    result.code =
        ldap_search_ext_s(ld_.get(), base.c_str(), scope, filter.c_str(), attributes.empty() ? nullptr : names.data(),
                          0, nullptr, nullptr, nullptr, LDAP_NO_LIMIT, &raw);
    LdapMessagePtr message(raw);
    for (LDAPMessage* entry = ldap_first_entry(ld_.get(), message.get()); entry;
         entry = ldap_next_entry(ld_.get(), entry)) {
        Entry listed;
        LdapStringPtr dn(ldap_get_dn(ld_.get(), entry));
        listed.dn = dn ? dn.get() : "";
        BerElement* rawBer = nullptr;
        for (char* name = ldap_first_attribute(ld_.get(), entry, &rawBer); name;
             name = ldap_next_attribute(ld_.get(), entry, rawBer)) {
            LdapStringPtr owned(name);
            BervalsPtr values(ldap_get_values_len(ld_.get(), entry, name));
            auto& list = listed.attributes[name];
            for (berval** value = values.get(); value && *value; ++value)
                list.emplace_back((*value)->bv_val, (*value)->bv_len);
        }
        BerElementPtr ber(rawBer);
        result.entries.push_back(std::move(listed));
    }
    return result;
}

namespace {
// One LDAPMod with its values, pointing into strings the caller keeps.
struct Modification {
    Modification(int operation, const std::string& attribute, const std::vector<std::string>& values) {
        for (const std::string& value : values)
            bervals.push_back({static_cast<ber_len_t>(value.size()), const_cast<char*>(value.data())});
        for (berval& value : bervals)
            pointers.push_back(&value);
        pointers.push_back(nullptr);
        mod.mod_op = operation | LDAP_MOD_BVALUES;
        mod.mod_type = const_cast<char*>(attribute.c_str());
        mod.mod_bvalues = pointers.data();
    }
    Modification(const Modification&) = delete;
    Modification& operator=(const Modification&) = delete;

    std::vector<berval> bervals;
    std::vector<berval*> pointers;
    LDAPMod mod{};
};
} // namespace

std::size_t ServerConnection::CountChildren(const std::string& base) {
    return Search(base, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"1.1"}).entries.size();
}

int ServerConnection::Add(const std::string& dn, const std::map<std::string, std::vector<std::string>>& attributes) {
    std::vector<std::unique_ptr<Modification>> modifications;
    std::vector<LDAPMod*> mods;
    for (const auto& [name, values] : attributes) {
        modifications.push_back(std::make_unique<Modification>(LDAP_MOD_ADD, name, values));
        mods.push_back(&modifications.back()->mod);
    }
    mods.push_back(nullptr);
    return ldap_add_ext_s(ld_.get(), dn.c_str(), mods.data(), nullptr, nullptr);
}

int ServerConnection::AddValues(const std::string& dn, const std::string& attribute,
                                const std::vector<std::string>& values) {
    Modification modification(LDAP_MOD_ADD, attribute, values);
    LDAPMod* mods[] = {&modification.mod, nullptr};
    return ldap_modify_ext_s(ld_.get(), dn.c_str(), mods, nullptr, nullptr);
}

int ServerConnection::Replace(const std::string& dn, const std::string& attribute,
                              const std::vector<std::string>& values) {
    Modification modification(LDAP_MOD_REPLACE, attribute, values);
    LDAPMod* mods[] = {&modification.mod, nullptr};
    return ldap_modify_ext_s(ld_.get(), dn.c_str(), mods, nullptr, nullptr);
}
