#pragma once

#include <ldap.h>

#include <deque>
#include <string>
#include <vector>

// The LDAPMod array of one request, pointing into the caller's strings, which must outlive it.
class LdapModList {
public:
    // One change of `type` with `values`, all sent as binary values.
    void Add(int op, const std::string& type, std::vector<std::string>& values) {
        auto& bervals = values_.emplace_back();
        for (std::string& value : values)
            bervals.push_back({static_cast<ber_len_t>(value.size()), value.data()});
        auto& refs = pointers_.emplace_back();
        for (berval& value : bervals)
            refs.push_back(&value);
        refs.push_back(nullptr);
        LDAPMod& mod = mods_.emplace_back();
        mod.mod_op = op | LDAP_MOD_BVALUES;
        mod.mod_type = const_cast<char*>(type.c_str()); // libldap only reads it
        mod.mod_bvalues = refs.data();
    }
    bool empty() const { return mods_.empty(); }
    // Null-terminated, as libldap takes it; valid until the next Add.
    LDAPMod** mods() {
        modPointers_.clear();
        for (LDAPMod& mod : mods_)
            modPointers_.push_back(&mod);
        modPointers_.push_back(nullptr);
        return modPointers_.data();
    }

private:
    // Deques: what is added never moves, so the pointers into it stay valid.
    std::deque<std::vector<berval>> values_;
    std::deque<std::vector<berval*>> pointers_;
    std::deque<LDAPMod> mods_;
    std::vector<LDAPMod*> modPointers_;
};
