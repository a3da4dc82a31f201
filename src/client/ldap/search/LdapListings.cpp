#include "client/ldap/search/LdapListings.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"

#include <chrono>

namespace {
// How long one call of a top listing that waits for the scan's read holds the caller: the window
// lets its messages run between two calls.
constexpr std::chrono::milliseconds kReadWait{10};
} // namespace

NWDSCCODE LdapListings::ReadContainer(const std::vector<NamePart>& path, Listing* listing) {
    KnownDn container;
    if (const NWDSCCODE code = names_.Resolve(path, &container); code != rc::kSuccess)
        return code;
    std::vector<ListedEntry>& entries = listing->entries;
    int code = LDAP_SUCCESS;
    if (path.empty()) {
        // A listing of the top starts a scan: the tree below is read for it, with what this
        // connection knows of the server, and the listing ends once that read has.
        LdapServerFacts facts;
        std::optional<ObjectClassSchema> classes;
        code = session_.Run([&](LDAP* ld) {
            classes = session_.server().Classes(ld);
            const int listed = ListNamingContexts(ld, *classes, &entries);
            return listed == LDAP_SUCCESS ? session_.server().Facts(ld, &facts) : listed;
        });
        if (code == LDAP_SUCCESS && !entries.empty()) {
            read_.Start(session_.settings(), session_.paging(), facts.kind, std::move(*classes), entries);
            listing->awaitsRead = true;
        }
    } else if (auto held = read_.Take(container.normalised)) {
        entries = std::move(*held);
    } else {
        code = session_.Run([&](LDAP* ld) {
            return ListOneLevel(ld, container.dn, session_.paging(), session_.server().Classes(ld), &entries);
        });
    }
    // A listing cut short still showed real entries, but not all of them. One served from the
    // scan's read is whole, and its names go out as a one-level listing's would.
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
    // The top's listing ends when the scan's read has; until then each call waits a little and
    // hands out nothing more.
    if (handedOut && current.end == rc::kSuccess && current.awaitsRead && read_.WaitEnded(kReadWait))
        current.awaitsRead = false;
    if (handedOut && current.end == rc::kSuccess && !current.awaitsRead) {
        listings_.erase(listing);
        *iterationHandle = kNoMoreIterations;
    } else {
        *iterationHandle = listing->first.second;
    }
    return rc::kSuccess;
}

void LdapListings::Forget(NWDSContextHandle context) {
    // A scan given up while its read runs (the window closed) ends the read as well.
    bool readAbandoned = false;
    std::erase_if(listings_, [&](const auto& listing) {
        const bool ofContext = listing.first.first == context;
        readAbandoned = readAbandoned || (ofContext && listing.second.awaitsRead);
        return ofContext;
    });
    if (readAbandoned)
        read_.Cancel();
}
