#include "LdapListings.h"

#include "DottedName.h"
#include "ResultCodes.h"

NWDSCCODE LdapListings::ReadContainer(const std::vector<NamePart>& path, Listing* listing) {
    KnownDn container;
    if (const NWDSCCODE code = names_.Resolve(path, &container); code != rc::kSuccess)
        return code;
    std::vector<ListedEntry>& entries = listing->entries;
    const int code = session_.Run([&](LDAP* ld) {
        const ObjectClassSchema& classes = session_.server().Classes(ld);
        return path.empty() ? ListNamingContexts(ld, classes, &entries)
                            : ListOneLevel(ld, container.dn, session_.paging(), classes, &entries);
    });
    // A listing cut short still showed real entries, but not all of them.
    names_.Remember(container.normalised, entries, code == LDAP_SUCCESS);
    listing->names = HandOutNames(entries, container.dn);
    return code;
}

NWDSCCODE LdapListings::NextBatch(NWDSContextHandle context, const std::string& nameContext, const char* parentName,
                                  std::int32_t* iterationHandle, ClientBuffer& results) {
    auto listing = listings_.end();
    if (*iterationHandle == kNoMoreIterations) {
        const auto path = ResolveName(parentName, nameContext);
        if (!path)
            return rc::kIllegalName;
        Listing fresh;
        fresh.end = ReadContainer(*path, &fresh);
        if (fresh.end != rc::kSuccess && fresh.entries.empty())
            return fresh.end;
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
    const bool handedOut = current.next == current.entries.size();
    // A listing cut short ends with the server's code, from the call after its last entries.
    if (handedOut && current.end != rc::kSuccess && results.count() == 0) {
        const NWDSCCODE end = current.end;
        listings_.erase(listing);
        *iterationHandle = kNoMoreIterations;
        return end;
    }
    if (handedOut && current.end == rc::kSuccess) {
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
