#include "client/ldap/users/ActiveDirectoryUidCounter.h"

#include "client/ldap/names/LdapDn.h"
#include "client/ldap/search/LdapSearch.h"
#include "client/ldap/users/LdapUidReserve.h"

#include <functional>
#include <optional>
#include <vector>

namespace {
constexpr const char* kMaxUidNumber = "msSFU30MaxUidNumber";
constexpr const char* kRpcServices = "CN=RpcServices,CN=System";

// The values of `attribute` of the one entry a base or one-level search finds; none when it finds none.
int ReadValues(LdapSession& session, const std::string& base, int scope, const std::string& filter,
               const char* attribute, std::vector<std::string>* values) {
    return session.Run([&](LDAP* ld) {
        char* attributes[] = {const_cast<char*>(attribute), nullptr};
        LDAPMessage* raw = nullptr;
        const int code = ldap_search_ext_s(ld, base.c_str(), scope, filter.c_str(), attributes, 0, nullptr, nullptr,
                                           nullptr, 1, &raw);
        const LdapMessagePtr result(raw);
        if (code != LDAP_SUCCESS)
            return code;
        LDAPMessage* entry = ldap_first_entry(ld, result.get());
        *values = entry ? EntryValues(ld, entry, attribute) : std::vector<std::string>{};
        return LDAP_SUCCESS;
    });
}

// The NIS domain the domain's tools name after the domain: the NetBIOS name of the naming context's
// cross-reference in the configuration partition, in lower case.
int NisDomainName(LdapSession& session, const std::string& namingContextDn, std::string* name) {
    std::vector<std::string> configuration;
    if (const int code =
            ReadValues(session, "", LDAP_SCOPE_BASE, "(objectClass=*)", "configurationNamingContext", &configuration);
        code != LDAP_SUCCESS)
        return code;
    if (configuration.empty())
        return LDAP_NO_SUCH_OBJECT;
    std::string context;
    if (const int code = EscapeFilterValue(namingContextDn, &context); code != LDAP_SUCCESS)
        return code;
    std::vector<std::string> netbios;
    if (const int code = ReadValues(session, "CN=Partitions," + configuration.front(), LDAP_SCOPE_ONELEVEL,
                                    "(&(objectClass=crossRef)(nCName=" + context + "))", "nETBIOSName", &netbios);
        code != LDAP_SUCCESS)
        return code;
    if (netbios.empty())
        return LDAP_NO_SUCH_OBJECT;
    *name = FoldCase(netbios.front());
    return LDAP_SUCCESS;
}

int Write(LdapSession& session, const std::function<int(LDAP*)>& operation) {
    bool sent = false;
    return session.RunWrite(operation, &sent);
}

// Adds the entry `dn` with `mods`; LDAP_SUCCESS also when it exists already.
int AddIfMissing(LdapSession& session, const std::string& dn, LDAPMod** mods) {
    const int code = Write(session, [&](LDAP* ld) { return ldap_add_ext_s(ld, dn.c_str(), mods, nullptr, nullptr); });
    return code == LDAP_ALREADY_EXISTS ? LDAP_SUCCESS : code;
}

// The containers the domain's tools keep NIS domains in, where a domain has none yet.
int AddYpServersContainers(LdapSession& session, const std::string& namingContextDn) {
    char* classes[] = {const_cast<char*>("container"), nullptr};
    LDAPMod classMod{LDAP_MOD_ADD, const_cast<char*>("objectClass"), {classes}};
    LDAPMod* mods[] = {&classMod, nullptr};
    const std::string ypServ = "CN=ypServ30," + std::string(kRpcServices) + "," + namingContextDn;
    if (const int code = AddIfMissing(session, ypServ, mods); code != LDAP_SUCCESS)
        return code;
    return AddIfMissing(session, "CN=ypservers," + ypServ, mods);
}

// Gives the NIS domain object `dn` its first msSFU30MaxUidNumber, `next`: added to the object, or with
// the object where it is missing. LDAP_SUCCESS also when someone else gave it one meanwhile.
int CreateMaxUidNumber(LdapSession& session, const std::string& namingContextDn, const std::string& dn,
                       const std::string& nisDomain, std::uint64_t next) {
    std::string number = std::to_string(next);
    char* numbers[] = {number.data(), nullptr};
    LDAPMod numberMod{LDAP_MOD_ADD, const_cast<char*>(kMaxUidNumber), {numbers}};
    LDAPMod* valueMods[] = {&numberMod, nullptr};
    int code = Write(session, [&](LDAP* ld) { return ldap_modify_ext_s(ld, dn.c_str(), valueMods, nullptr, nullptr); });
    // A single value someone else added first: Samba says attributeOrValueExists, Windows constraintViolation.
    if (code == LDAP_TYPE_OR_VALUE_EXISTS || code == LDAP_CONSTRAINT_VIOLATION)
        return LDAP_SUCCESS;
    if (code != LDAP_NO_SUCH_OBJECT)
        return code;

    std::string domain = nisDomain;
    char* classes[] = {const_cast<char*>("top"), const_cast<char*>("msSFU30DomainInfo"), nullptr};
    char* domains[] = {domain.data(), nullptr};
    LDAPMod classMod{LDAP_MOD_ADD, const_cast<char*>("objectClass"), {classes}};
    LDAPMod domainMod{LDAP_MOD_ADD, const_cast<char*>("msSFU30Domains"), {domains}};
    LDAPMod* objectMods[] = {&classMod, &domainMod, &numberMod, nullptr};
    code = AddIfMissing(session, dn, objectMods);
    if (code != LDAP_NO_SUCH_OBJECT)
        return code;
    if (const int made = AddYpServersContainers(session, namingContextDn); made != LDAP_SUCCESS)
        return made;
    return AddIfMissing(session, dn, objectMods);
}
} // namespace

int ReserveAdUidNumbers(LdapSession& session, const std::string& namingContextDn, std::uint32_t count,
                        const UidRange& range, std::uint32_t* first) {
    std::string nisDomain;
    if (const int code = NisDomainName(session, namingContextDn, &nisDomain); code != LDAP_SUCCESS)
        return code;
    const auto dn =
        ChildDn("CN=ypservers,CN=ypServ30," + std::string(kRpcServices) + "," + namingContextDn, "CN", nisDomain);
    if (!dn)
        return LDAP_INVALID_DN_SYNTAX;
    return ReserveFromCounter(
        session, *dn, kMaxUidNumber, namingContextDn, count, range,
        [&](std::uint64_t next) { return CreateMaxUidNumber(session, namingContextDn, *dn, nisDomain, next); }, first);
}
