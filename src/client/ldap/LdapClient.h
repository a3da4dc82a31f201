#pragma once

#include "ClientBase.h"
#include "LdapSearch.h"
#include "LdapSession.h"

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// The client interface on an LDAP server. Typeless dotted names map to DNs: the top containers
// are the server's naming contexts, each level below is one RDN whose value is the name part.
class LdapClient : public ClientBase {
public:
    explicit LdapClient(LdapSettings settings);

    NWCCODE StartClientLibrary(void* reserved1, void* reserved2) override;
    NWCCODE OpenClientScope(std::uint32_t* scope) override;
    NWCCODE AttachClient(std::uint32_t scope, std::uint32_t mode, std::uint32_t reserved,
                         std::uint32_t* clientHandle) override;

    NWDSCCODE FreeContext(NWDSContextHandle context) override;
    NWDSCCODE NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t* iterationHandle,
                            std::uint8_t more, NWBufHandle buffer) override;
    NWDSCCODE ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                               NWBufHandle buffer) override;
    NWDSCCODE WhoAmI(NWDSContextHandle context, char* identity) override;

    std::size_t OpenListingCount() const { return listings_.size(); }

private:
    struct KnownDn {
        std::string dn;
        std::string normalised;
    };
    struct Listing {
        std::vector<ListedEntry> entries;
        std::size_t next = 0;
    };

    // DN of the container at `path` (top down; the top itself is the empty DN).
    NWDSCCODE ResolveDn(const std::vector<std::string>& path, KnownDn* container);
    NWDSCCODE ListContainer(const std::vector<std::string>& path, std::vector<ListedEntry>* entries);
    void Remember(const std::string& parentNormalised, const std::vector<ListedEntry>& entries);
    const KnownDn* Lookup(const std::string& parentNormalised, const std::string& name) const;

    LdapSession session_;
    // Normalised parent DN and folded name -> child DN, filled by listings and look-ups.
    std::unordered_map<std::string, KnownDn> names_;
    std::map<std::pair<NWDSContextHandle, std::int32_t>, Listing> listings_;
    std::int32_t nextListing_ = 1;
};
