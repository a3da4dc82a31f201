#include "ServerConnection.h"

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

std::size_t ServerConnection::CountChildren(const std::string& base) {
    return Search(base, LDAP_SCOPE_ONELEVEL, "(objectClass=*)", {"1.1"}).entries.size();
}

int ServerConnection::Add(const std::string& dn, const std::map<std::string, std::vector<std::string>>& attributes) {
    std::vector<LDAPMod> mods;
    std::vector<std::vector<berval>> values;
    std::vector<std::vector<berval*>> pointers;
    mods.reserve(attributes.size());
    values.reserve(attributes.size());
    pointers.reserve(attributes.size());
    for (const auto& [name, list] : attributes) {
        auto& bervals = values.emplace_back();
        for (const std::string& value : list)
            bervals.push_back({static_cast<ber_len_t>(value.size()), const_cast<char*>(value.data())});
        auto& refs = pointers.emplace_back();
        for (berval& value : bervals)
            refs.push_back(&value);
        refs.push_back(nullptr);
        LDAPMod mod{};
        mod.mod_op = LDAP_MOD_ADD | LDAP_MOD_BVALUES;
        mod.mod_type = const_cast<char*>(name.c_str());
        mod.mod_bvalues = refs.data();
        mods.push_back(mod);
    }
    std::vector<LDAPMod*> modPointers;
    for (LDAPMod& mod : mods)
        modPointers.push_back(&mod);
    modPointers.push_back(nullptr);
    return ldap_add_ext_s(ld_.get(), dn.c_str(), modPointers.data(), nullptr, nullptr);
}
