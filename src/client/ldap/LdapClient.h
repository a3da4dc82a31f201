#pragma once

#include "ClientBase.h"
#include "LdapListings.h"
#include "LdapNames.h"
#include "LdapSession.h"

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

    // Passwords are not set on LDAP servers yet: an add that carries one is refused.
    PasswordSupport QueryPasswordSupport() override;
    NWDSCCODE ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) override;

    std::size_t OpenListingCount() const { return listings_.OpenCount(); }

private:
    LdapSession session_;
    LdapNames names_{session_};
    LdapListings listings_{session_, names_};
};
