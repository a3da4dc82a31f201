#include "LdapListings.h"

#include "DottedName.h"
#include "ResultCodes.h"

NWDSCCODE LdapListings::ReadContainer(const std::vector<NamePart>& path, Listing* listing) {
    KnownDn container;
    if (const NWDSCCODE code = names_.Resolve(path, &container); code != rc::kSuccess)
        return code;
    std::vector<ListedEntry>& entries = listing->entries;
    const int code = path.empty() ? session_.Run([&](LDAP* ld) { return ListNamingContexts(ld, &entries); })
                                  : session_.Run([&](LDAP* ld) { return ListOneLevel(ld, container.dn, &entries); });
    if (code != LDAP_SUCCESS)
        return code;
    names_.Remember(container.normalised, entries);
    listing->names = HandOutNames(entries, container.dn);
    return rc::kSuccess;
}

NWDSCCODE LdapListings::NextBatch(NWDSContextHandle context, const std::string& nameContext, const char* parentName,
                                  std::int32_t* iterationHandle, ClientBuffer& results) {
    auto listing = listings_.end();
    if (*iterationHandle == kNoMoreIterations) {
        const auto path = ResolveName(parentName, nameContext);
        if (!path)
            return rc::kIllegalName;
        Listing fresh;
        if (const NWDSCCODE code = ReadContainer(*path, &fresh); code != rc::kSuccess)
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
    results.ClearResults();
    while (current.next < current.entries.size()) {
        // A name that cannot be handed out goes in empty: counted, never taken for a container.
        if (!results.AppendEntry(current.names[current.next], current.entries[current.next].baseClass))
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

void LdapListings::Forget(NWDSContextHandle context) {
    std::erase_if(listings_, [context](const auto& listing) { return listing.first.first == context; });
}
