#pragma once

#include "client/ClientBase.h"
#include "client/ldap/connection/LdapSession.h"
#include "client/ldap/names/LdapNames.h"
#include "client/ldap/search/LdapListings.h"

// The client interface on an LDAP server: the start steps open and bind the session, the rest
// goes to the names, the listings, the user add and the identity lookup.
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

    // By the server's kind and password policy, and the connection's encryption (LdapPasswordPolicy.h);
    // Unreachable when the server cannot be asked.
    PasswordSupport QueryPasswordSupport() override;
    // Active Directory's accountExpires; elsewhere shadowExpire, which needs POSIX attributes.
    ExpiryLimit QueryExpirySupport() override;
    // Where the server's schema defines posixAccount (Active Directory: with RFC 2307 attributes).
    PosixLimit QueryPosixSupport() override;

    // Groups of every kind (LdapGroups.h).
    NWDSCCODE ListGroups(std::vector<DirectoryGroup>* groups) override;
    NWDSCCODE AddGroupMembers(const std::string& group, const std::vector<GroupMember>& members) override;

    std::size_t OpenListingCount() const { return listings_.OpenCount(); }

protected:
    NWDSCCODE CheckPasswordRequest(bool mustChange) override;
    // A batch's accounts (LdapAccounts.h): the container resolved as a listing's parent, the User as an
    // add names it (UserDn).
    NWDSCCODE CandidatesIn(const std::vector<NamePart>& container, const std::string& prefix,
                           std::vector<BatchCandidate>* candidates) override;
    NWDSCCODE SetLoginDisabledAt(const std::vector<NamePart>& path, bool disabled) override;
    NWDSCCODE RemoveAt(const std::vector<NamePart>& path) override;
    // The DN the object gets or has (UserDn).
    NWDSCCODE DirectoryNameOf(const std::vector<NamePart>& path, std::string* name) override;
    // One search of the naming context the container is in (LdapLoginNames.h).
    NWDSCCODE TakenLoginNamesIn(const std::vector<NamePart>& container, const std::vector<std::string>& loginNames,
                                std::vector<std::string>* taken) override;
    // Below the naming context the container is in, by the server's kind (LdapUidAllocation.h).
    NWDSCCODE UidNumbersIn(const std::vector<NamePart>& container, std::uint32_t count, const UidRange& range,
                           UidBlock* block) override;

private:
    int ReadPasswordSupport(PasswordSupport* support);

    LdapSession session_;
    LdapNames names_{session_};
    LdapListings listings_{session_, names_};
};
