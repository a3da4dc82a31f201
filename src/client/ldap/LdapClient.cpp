#include "client/ldap/LdapClient.h"

#include "client/ResultCodes.h"
#include "client/ldap/LdapClientCode.h"
#include "client/ldap/connection/LdapIdentity.h"
#include "client/ldap/connection/LdapTls.h"
#include "client/ldap/users/LdapGroups.h"
#include "client/ldap/users/LdapLoginNames.h"
#include "client/ldap/users/LdapUidAllocation.h"
#include "client/ldap/users/LdapUserAdd.h"

#include <cstring>

LdapClient::LdapClient(LdapSettings settings) : session_(std::move(settings)) {}

NWCCODE LdapClient::StartClientLibrary(void*, void*) {
    return StartCode(ClientCode(session_.Initialise()));
}

NWCCODE LdapClient::OpenClientScope(std::uint32_t* scope) {
    if (!scope)
        return StartCode(rc::kBadArgument);
    const int code = session_.Connect();
    if (code == LDAP_SUCCESS)
        *scope = 1;
    return StartCode(ClientCode(code));
}

NWCCODE LdapClient::AttachClient(std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t* clientHandle) {
    if (!clientHandle)
        return StartCode(rc::kBadArgument);
    const int code = session_.Bind();
    if (code == LDAP_SUCCESS)
        *clientHandle = 1;
    return StartCode(ClientCode(code));
}

NWDSCCODE LdapClient::FreeContext(NWDSContextHandle context) {
    listings_.Forget(context);
    return ClientBase::FreeContext(context);
}

NWDSCCODE LdapClient::ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                                       NWBufHandle buffer) {
    const Handles found = CheckListingRequest(context, buffer, parentName, iterationHandle);
    if (found.code != rc::kSuccess)
        return found.code;
    return ClientCode(
        listings_.NextBatch(context, found.state->nameContext, parentName, iterationHandle, *found.buffer));
}

NWDSCCODE LdapClient::NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t*, std::uint8_t,
                                    NWBufHandle buffer) {
    UserRequest request;
    if (const NWDSCCODE code = ReadUserRequest(context, objectName, buffer, &request); code != rc::kSuccess)
        return code;
    return ClientCode(AddUser(session_, names_, request));
}

NWDSCCODE LdapClient::WhoAmI(NWDSContextHandle context, char* identity) {
    if (!FindContext(context))
        return rc::kBadContext;
    if (!identity)
        return rc::kBadArgument;
    std::string name;
    if (const int code = ReadIdentity(session_, &name); code != LDAP_SUCCESS)
        return ClientCode(code);
    if (name.size() >= kIdentitySize)
        return rc::kEntryNameTooLong;
    std::memcpy(identity, name.c_str(), name.size() + 1);
    return rc::kSuccess;
}

int LdapClient::ReadPasswordSupport(PasswordSupport* support) {
    return session_.Run([&](LDAP* ld) {
        LdapServerFacts server;
        MustChangePolicy policy = MustChangePolicy::Hidden;
        if (const int code = session_.server().Facts(ld, &server); code != LDAP_SUCCESS)
            return code;
        if (const int code = session_.server().MustChange(ld, {}, &policy); code != LDAP_SUCCESS)
            return code;
        const ConnectionProtection protection = ProtectionOf(ld);
        *support = PasswordSupportOf(server.kind, server.passwordWay, policy, CarriesPasswords(protection));
        support->protection = protection;
        return LDAP_SUCCESS;
    });
}

PasswordSupport LdapClient::QueryPasswordSupport() {
    PasswordSupport support;
    if (ReadPasswordSupport(&support) != LDAP_SUCCESS)
        return {PasswordLimit::Unreachable, PasswordLimit::Unreachable, ConnectionProtection::Unknown};
    return support;
}

NWDSCCODE LdapClient::CheckPasswordRequest(bool mustChange) {
    PasswordSupport support;
    if (const int code = ReadPasswordSupport(&support); code != LDAP_SUCCESS)
        return code;
    return PasswordRefusal(support, mustChange);
}

NWDSCCODE LdapClient::DirectoryNameOf(const std::vector<NamePart>& path, std::string* name) {
    return ClientCode(UserDn(names_, path, name));
}

NWDSCCODE LdapClient::TakenLoginNamesIn(const std::vector<NamePart>& container,
                                        const std::vector<std::string>& loginNames, std::vector<std::string>* taken) {
    // The top containers are the naming contexts.
    KnownDn namingContext;
    KnownDn own;
    if (const NWDSCCODE code = names_.Resolve({container.front()}, &namingContext); code != rc::kSuccess)
        return code;
    if (const NWDSCCODE code = names_.Resolve(container, &own); code != rc::kSuccess)
        return code;
    return ClientCode(session_.Run([&](LDAP* ld) {
        LdapServerFacts server;
        if (const int code = session_.server().Facts(ld, &server); code != LDAP_SUCCESS)
            return code;
        return SearchTakenLoginNames(ld, session_.paging(), server, namingContext.dn, own.dn, loginNames, taken);
    }));
}

PosixLimit LdapClient::QueryPosixSupport() {
    bool published = false;
    const int code = session_.Run([&](LDAP* ld) {
        published = session_.server().Classes(ld).Published("posixAccount");
        return LDAP_SUCCESS;
    });
    if (code != LDAP_SUCCESS)
        return PosixLimit::Unreachable;
    return published ? PosixLimit::None : PosixLimit::NoSchema;
}

NWDSCCODE LdapClient::UidNumbersIn(const std::vector<NamePart>& container, std::uint32_t count, const UidRange& range,
                                   UidBlock* block) {
    KnownDn namingContext;
    if (const NWDSCCODE code = names_.Resolve({container.front()}, &namingContext); code != rc::kSuccess)
        return code;
    LdapServerFacts server;
    if (const int code = session_.Run([&](LDAP* ld) { return session_.server().Facts(ld, &server); });
        code != LDAP_SUCCESS)
        return ClientCode(code);
    return ClientCode(AllocateUidNumbers(session_, server.kind, namingContext.dn, count, range, block));
}

NWDSCCODE LdapClient::ListGroups(std::vector<DirectoryGroup>* groups) {
    if (!groups)
        return rc::kBadArgument;
    return ClientCode(session_.Run(
        [&](LDAP* ld) { return ListLdapGroups(ld, session_.paging(), session_.server().Classes(ld), groups); }));
}

NWDSCCODE LdapClient::AddGroupMembers(const std::string& group, const std::vector<GroupMember>& members) {
    if (members.empty())
        return rc::kSuccess;
    return ClientCode(AddLdapGroupMembers(session_, group, members));
}
