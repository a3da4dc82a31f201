#include "ServerView.h"

#include <gtest/gtest.h>

#include <filesystem>

ServerView::ServerView(const std::string& ldapiUri) {
    LDAP* raw = nullptr;
    EXPECT_EQ(ldap_initialize(&raw, ldapiUri.c_str()), LDAP_SUCCESS);
    ld_.reset(raw);
    const int version = LDAP_VERSION3;
    ldap_set_option(ld_.get(), LDAP_OPT_PROTOCOL_VERSION, &version);
    berval noAuthzid{0, const_cast<char*>("")};
    EXPECT_EQ(ldap_sasl_bind_s(ld_.get(), nullptr, "EXTERNAL", &noAuthzid, nullptr, nullptr, nullptr), LDAP_SUCCESS);
}

std::vector<ServerView::Entry> ServerView::Search(const std::string& base, int scope, const std::string& filter,
                                                  int* code) {
    std::vector<Entry> entries;
    LDAPMessage* raw = nullptr;
    const int result = ldap_search_ext_s(ld_.get(), base.c_str(), scope, filter.c_str(), nullptr, 0, nullptr, nullptr,
                                         nullptr, LDAP_NO_LIMIT, &raw);
    LdapMessagePtr message(raw);
    if (code)
        *code = result;
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
        entries.push_back(std::move(listed));
    }
    return entries;
}

std::size_t ServerView::CountChildren(const std::string& base) {
    return Search(base, LDAP_SCOPE_ONELEVEL).size();
}

std::size_t ServerView::CountAll() {
    return Search("o=Acme", LDAP_SCOPE_SUBTREE).size() + Search("dc=example,dc=com", LDAP_SCOPE_SUBTREE).size();
}

int ServerView::Add(const std::string& dn, const std::map<std::string, std::vector<std::string>>& attributes) {
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

int ServerView::AddNamingContext(const std::string& suffix, const std::string& folder, const std::string& adminDn,
                                 const std::map<std::string, std::vector<std::string>>& attributes) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return LDAP_OTHER;
    const int added =
        Add("olcDatabase=mdb,cn=config", {{"objectClass", {"olcDatabaseConfig", "olcMdbConfig"}},
                                          {"olcDatabase", {"mdb"}},
                                          {"olcSuffix", {suffix}},
                                          {"olcDbDirectory", {folder}},
                                          {"olcDbMaxSize", {"16777216"}},
                                          {"olcLimits", {"dn.exact=\"" + adminDn + "\" size=unlimited time=unlimited"}},
                                          {"olcAccess", {"to * by dn.exact=\"" + adminDn + "\" write by * read"}}});
    return added == LDAP_SUCCESS ? Add(suffix, attributes) : added;
}
