#include "LdapClient.h"

#include "DottedName.h"
#include "LdapDn.h"
#include "ResultCodes.h"
#include "SchemaNames.h"

#include <cstring>
#include <string_view>

namespace {
std::string CacheKey(const std::string& parentNormalised, const std::string& name) {
    std::string key = parentNormalised;
    key += '\0';
    key += FoldCase(name);
    return key;
}
} // namespace

LdapClient::LdapClient(LdapSettings settings) : session_(std::move(settings)) {}

NWCCODE LdapClient::StartClientLibrary(void*, void*) {
    return StartCode(session_.Initialise());
}

NWCCODE LdapClient::OpenClientScope(std::uint32_t* scope) {
    if (!scope)
        return StartCode(rc::kBadArgument);
    const int code = session_.Connect();
    if (code == LDAP_SUCCESS)
        *scope = 1;
    return StartCode(code);
}

NWCCODE LdapClient::AttachClient(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t* clientHandle) {
    if (!clientHandle)
        return StartCode(rc::kBadArgument);
    const int code = session_.Bind();
    if (code == LDAP_SUCCESS)
        *clientHandle = 1;
    return StartCode(code);
}

NWDSCCODE LdapClient::FreeContext(NWDSContextHandle context) {
    std::erase_if(listings_, [context](const auto& listing) { return listing.first.first == context; });
    return ClientBase::FreeContext(context);
}

void LdapClient::Remember(const std::string& parentNormalised, const std::vector<ListedEntry>& entries) {
    for (const ListedEntry& entry : entries) {
        // Only containers are ever named as a parent; others are found by search when named.
        if (!IsContainerClass(entry.baseClass))
            continue;
        auto normalised = NormaliseDn(entry.dn);
        if (normalised)
            names_.insert_or_assign(CacheKey(parentNormalised, entry.name), KnownDn{entry.dn, std::move(*normalised)});
    }
}

const LdapClient::KnownDn* LdapClient::Lookup(const std::string& parentNormalised, const std::string& name) const {
    auto it = names_.find(CacheKey(parentNormalised, name));
    return it == names_.end() ? nullptr : &it->second;
}

NWDSCCODE LdapClient::ResolveDn(const std::vector<std::string>& path, KnownDn* container) {
    KnownDn current;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const KnownDn* child = Lookup(current.normalised, path[i]);
        if (!child) {
            // A name not listed before: ask the server, then look again.
            std::vector<ListedEntry> found;
            const int code =
                i == 0 ? session_.Run([&](LDAP* ld) { return ListNamingContexts(ld, &found); })
                       : session_.Run([&](LDAP* ld) { return FindChildren(ld, current.dn, path[i], &found); });
            if (code != LDAP_SUCCESS)
                return code;
            Remember(current.normalised, found);
            child = Lookup(current.normalised, path[i]);
            if (!child)
                return LDAP_NO_SUCH_OBJECT;
        }
        current = *child;
    }
    *container = std::move(current);
    return rc::kSuccess;
}

NWDSCCODE LdapClient::ListContainer(const std::vector<std::string>& path, std::vector<ListedEntry>* entries) {
    KnownDn container;
    if (const NWDSCCODE code = ResolveDn(path, &container); code != rc::kSuccess)
        return code;
    const int code = path.empty() ? session_.Run([&](LDAP* ld) { return ListNamingContexts(ld, entries); })
                                  : session_.Run([&](LDAP* ld) { return ListOneLevel(ld, container.dn, entries); });
    if (code == LDAP_SUCCESS)
        Remember(container.normalised, *entries);
    return code;
}

NWDSCCODE LdapClient::ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                                       NWBufHandle buffer) {
    const Handles found = CheckListingRequest(context, buffer, parentName, iterationHandle);
    if (found.code != rc::kSuccess)
        return found.code;

    auto listing = listings_.end();
    if (*iterationHandle == kNoMoreIterations) {
        const auto path = ResolveName(parentName, found.state->nameContext);
        if (!path)
            return rc::kIllegalName;
        Listing fresh;
        if (const NWDSCCODE code = ListContainer(*path, &fresh.entries); code != rc::kSuccess)
            return code;
        if (nextListing_ <= 0)
            nextListing_ = 1;
        listing = listings_.insert_or_assign({context, nextListing_++}, std::move(fresh)).first;
    } else {
        listing = listings_.find({context, *iterationHandle});
        if (listing == listings_.end())
            return rc::kBadArgument;
    }

    Listing& current = listing->second;
    ClientBuffer* results = found.buffer;
    results->ClearResults();
    while (current.next < current.entries.size()) {
        const ListedEntry& entry = current.entries[current.next];
        if (!results->AppendEntry(EscapeNamePart(entry.name), entry.baseClass))
            break;
        ++current.next;
    }
    if (current.next == current.entries.size()) {
        listings_.erase(listing);
        *iterationHandle = kNoMoreIterations;
    } else {
        *iterationHandle = listing->first.second;
    }
    return rc::kSuccess;
}

NWDSCCODE LdapClient::NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t*, std::uint8_t,
                                    NWBufHandle buffer) {
    UserRequest request;
    if (const NWDSCCODE code = ReadUserRequest(context, objectName, buffer, &request); code != rc::kSuccess)
        return code;
    std::string cn = std::move(request.path.back());
    request.path.pop_back();
    if (request.path.empty())
        return rc::kIllegalContainment; // a new naming context is the server administrator's business

    KnownDn parent;
    if (const NWDSCCODE code = ResolveDn(request.path, &parent); code != rc::kSuccess)
        return code;
    const auto dn = ChildDn(parent.dn, "cn", cn);
    if (!dn)
        return rc::kIllegalName;

    std::string objectClass = "inetOrgPerson";
    std::string& surname = request.surname;
    berval objectClassValue{static_cast<ber_len_t>(objectClass.size()), objectClass.data()};
    berval cnValue{static_cast<ber_len_t>(cn.size()), cn.data()};
    berval snValue{static_cast<ber_len_t>(surname.size()), surname.data()};
    berval* objectClassValues[] = {&objectClassValue, nullptr};
    berval* cnValues[] = {&cnValue, nullptr};
    berval* snValues[] = {&snValue, nullptr};
    LDAPMod objectClassMod{LDAP_MOD_ADD | LDAP_MOD_BVALUES, const_cast<char*>("objectClass"), {}};
    objectClassMod.mod_bvalues = objectClassValues;
    LDAPMod cnMod{LDAP_MOD_ADD | LDAP_MOD_BVALUES, const_cast<char*>("cn"), {}};
    cnMod.mod_bvalues = cnValues;
    LDAPMod snMod{LDAP_MOD_ADD | LDAP_MOD_BVALUES, const_cast<char*>("sn"), {}};
    snMod.mod_bvalues = snValues;
    LDAPMod* mods[] = {&objectClassMod, &cnMod, &snMod, nullptr};

    return session_.Run([&](LDAP* ld) { return ldap_add_ext_s(ld, dn->c_str(), mods, nullptr, nullptr); });
}

NWDSCCODE LdapClient::WhoAmI(NWDSContextHandle context, char* identity) {
    if (!FindContext(context))
        return rc::kBadContext;
    if (!identity)
        return rc::kBadArgument;
    BervalPtr authzid;
    const int code = session_.Run([&](LDAP* ld) {
        berval* raw = nullptr;
        const int result = ldap_whoami_s(ld, &raw, nullptr, nullptr);
        authzid.reset(raw);
        return result;
    });
    if (code != LDAP_SUCCESS)
        return code;
    std::string_view text = authzid && authzid->bv_val ? std::string_view(authzid->bv_val, authzid->bv_len) : "";
    if (text.starts_with("dn:"))
        text.remove_prefix(3);
    else if (text.starts_with("u:"))
        text.remove_prefix(2);
    const std::string_view name = text.empty() ? std::string_view(kPublicIdentity) : text;
    if (name.size() >= kIdentitySize)
        return rc::kEntryNameTooLong;
    std::memcpy(identity, name.data(), name.size());
    identity[name.size()] = '\0';
    return rc::kSuccess;
}
