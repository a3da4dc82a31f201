#pragma once

#include "client/ClientBuffer.h"
#include "client/ldap/names/LdapNames.h"
#include "client/ldap/scanread/LdapScanRead.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

// The listings of containers in progress, per context. A container's entries are read from the
// server when its first batch is asked for, then handed out through client buffers batch by
// batch; the iteration handle names the listing until its last batch. When the server cut the
// listing short, the entries received are handed out all the same, and the call that would fetch
// the batch after them returns the server's code instead.
class LdapListings {
public:
    LdapListings(LdapSession& session, LdapNames& names) : session_(session), names_(names) {}

    // Fills `results` with the next batch of the subordinates of `parentName` (resolved against
    // `nameContext` when the listing starts). `*iterationHandle` is kNoMoreIterations before the
    // first batch and after the last one.
    NWDSCCODE NextBatch(NWDSContextHandle context, const std::string& nameContext, const char* parentName,
                        std::int32_t* iterationHandle, ClientBuffer& results);
    // Drops the listings of a context that is released.
    void Forget(NWDSContextHandle context);
    std::size_t OpenCount() const { return listings_.size(); }

private:
    struct Listing {
        std::vector<ListedEntry> entries;
        std::vector<std::string> names; // as handed out (HandOutNames)
        std::size_t next = 0;
        NWDSCCODE end = 0;       // what the server's listing ended with
        bool awaitsRead = false; // a listing of the top, which ends once the scan's read has
    };

    // Every entry of the container at `path` into `listing`, with the names they are handed out
    // by: the naming contexts for the top, else what the scan's read holds of it, else what the
    // server lists one level below it.
    NWDSCCODE ReadContainer(const std::vector<NamePart>& path, Listing* listing);

    LdapSession& session_;
    LdapNames& names_;
    ScanRead read_;
    std::map<std::pair<NWDSContextHandle, std::int32_t>, Listing> listings_;
    std::int32_t nextListing_ = 1;
};
