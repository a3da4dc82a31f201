#include "client/embedded/EmbeddedClient.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedSchema.h"
#include "client/embedded/EmbeddedStore.h"
#include "client/embedded/EmbeddedStorePath.h"
#include "client/embedded/PasswordHash.h"

#include <cstring>
#include <limits>

namespace {
// Scope value handed from the second start step to the third.
constexpr std::uint32_t kScope = 1;
constexpr std::uint32_t kAttachedHandle = 1;
} // namespace

EmbeddedClient::EmbeddedClient(EmbeddedOptions options) : options_(std::move(options)) {}

EmbeddedClient::~EmbeddedClient() = default;

NWCCODE EmbeddedClient::StartClientLibrary(void*, void*) {
    if (store_)
        return 0;
    return StartCode(EmbeddedStore::Open(options_.path, options_.sample, options_.busyTimeoutMs, &store_));
}

NWCCODE EmbeddedClient::OpenClientScope(std::uint32_t* scope) {
    if (!scope)
        return StartCode(rc::kBadArgument);
    if (!store_)
        return StartCode(rc::kNotStarted);
    *scope = kScope;
    return 0;
}

NWCCODE EmbeddedClient::AttachClient(std::uint32_t scope, std::uint32_t, std::uint32_t, std::uint32_t* clientHandle) {
    if (!clientHandle || scope != kScope)
        return StartCode(rc::kBadArgument);
    if (!store_)
        return StartCode(rc::kNotStarted);
    *clientHandle = kAttachedHandle;
    return 0;
}

NWDSCCODE EmbeddedClient::NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t*, std::uint8_t,
                                        NWBufHandle buffer) {
    if (!store_)
        return rc::kNotStarted;
    if (options_.anonymous)
        return rc::kNoAccess;
    UserRequest request;
    if (const NWDSCCODE code = ReadUserRequest(context, objectName, buffer, &request); code != rc::kSuccess)
        return code;
    // The store knows no attribute types, so a typed part names nothing in it.
    const auto path = TypelessValues(request.path);
    if (!path)
        return rc::kIllegalName;
    // The top of the tree holds containers only, as on an LDAP server.
    if (path->size() == 1)
        return rc::kIllegalContainment;
    std::vector<EmbeddedStore::Attribute> attributes{{kSurnameAttribute, request.surname}};
    if (request.password) {
        // Hashed before the store is locked for writing: the slow part keeps no other writer waiting.
        auto hash = HashPassword(*request.password);
        if (!hash)
            return rc::kStoreFailure;
        attributes.push_back({kPasswordHashAttribute, std::move(*hash)});
        if (request.mustChange)
            attributes.push_back({kPasswordMustChangeAttribute, kTrueValue});
    }
    if (request.expiresAt)
        attributes.push_back({kLoginExpirationTimeAttribute, std::to_string(*request.expiresAt)});
    if (request.posix) {
        attributes.push_back({kUidNumberAttribute, request.posix->uidNumber});
        attributes.push_back({kGidNumberAttribute, std::to_string(request.posix->gidNumber)});
        attributes.push_back({kHomeDirectoryAttribute, request.posix->homeDirectory});
        attributes.push_back({kLoginShellAttribute, request.posix->loginShell});
    }
    return store_->Add(*path, kUserClass, attributes);
}

NWDSCCODE EmbeddedClient::UidNumbersIn(const std::vector<NamePart>&, std::uint32_t count, const UidRange& range,
                                       UidBlock* block) {
    if (!store_)
        return rc::kNotStarted;
    if (options_.anonymous)
        return rc::kNoAccess;
    return store_->ReserveUidNumbers(count, range, &block->first);
}

PasswordSupport EmbeddedClient::QueryPasswordSupport() {
    return {PasswordLimit::None, PasswordLimit::None, ConnectionProtection::LocalStore};
}

NWDSCCODE EmbeddedClient::DirectoryNameOf(const std::vector<NamePart>& path, std::string* name) {
    *name = JoinDottedName({path.rbegin(), path.rend()});
    return rc::kSuccess;
}

NWDSCCODE EmbeddedClient::ListGroups(std::vector<DirectoryGroup>* groups) {
    if (!store_)
        return rc::kNotStarted;
    if (!groups)
        return rc::kBadArgument;
    std::vector<std::vector<std::string>> paths;
    if (const NWDSCCODE code = store_->FindByClass(kGroupClass, &paths); code != rc::kSuccess)
        return code;
    groups->clear();
    for (const std::vector<std::string>& path : paths) {
        std::vector<NamePart> leafFirst;
        for (auto part = path.rbegin(); part != path.rend(); ++part)
            leafFirst.push_back({{}, *part});
        const std::string name = JoinDottedName(leafFirst);
        groups->push_back({name, path.back(), JoinDottedName({leafFirst.begin() + 1, leafFirst.end()})});
    }
    return rc::kSuccess;
}

NWDSCCODE EmbeddedClient::AddGroupMembers(const std::string& group, const std::vector<GroupMember>& members) {
    if (!store_)
        return rc::kNotStarted;
    const auto resolved = ResolveName(group, kRootName);
    const auto path = resolved ? TypelessValues(*resolved) : std::nullopt;
    if (!path || path->empty())
        return rc::kIllegalName;
    EmbeddedStore::Object found;
    if (const NWDSCCODE code = store_->Find(*path, &found); code != rc::kSuccess)
        return code;
    if (found.baseClass != kGroupClass)
        return rc::kSyntaxViolation;
    std::vector<std::string> names;
    for (const GroupMember& member : members)
        names.push_back(member.directoryName);
    return store_->AddLines(found.id, kMemberAttribute, names);
}

NWDSCCODE EmbeddedClient::TakenLoginNamesIn(const std::vector<NamePart>&, const std::vector<std::string>&,
                                            std::vector<std::string>*) {
    return store_ ? rc::kSuccess : rc::kNotStarted;
}

NWDSCCODE EmbeddedClient::ListSubordinates(NWDSContextHandle context, const char* parentName,
                                           std::int32_t* iterationHandle, NWBufHandle buffer) {
    if (!store_)
        return rc::kNotStarted;
    const Handles found = CheckListingRequest(context, buffer, parentName, iterationHandle);
    if (found.code != rc::kSuccess)
        return found.code;
    const auto resolved = ResolveName(parentName, found.state->nameContext);
    const auto path = resolved ? TypelessValues(*resolved) : std::nullopt;
    if (!path)
        return rc::kIllegalName;
    EmbeddedStore::Object parent;
    if (NWDSCCODE code = store_->Find(*path, &parent); code != rc::kSuccess)
        return code;

    // Sibling names are unique in the store (letter case ignored), so every name is handed out
    // typeless. The handle carries the id of the first entry of the next batch (ids start at 1).
    const std::int64_t fromId = *iterationHandle > 0 ? *iterationHandle : 0;
    ClientBuffer* results = found.buffer;
    results->ClearResults();
    std::int64_t nextId = -1;
    const NWDSCCODE code = store_->List(
        parent.id, fromId,
        [results](std::string_view name, std::string_view baseClass) {
            return results->AppendEntry(EscapeNamePart(name), baseClass);
        },
        &nextId);
    if (code != rc::kSuccess)
        return code;
    if (nextId > std::numeric_limits<std::int32_t>::max())
        return rc::kStoreFailure;
    *iterationHandle = nextId < 0 ? kNoMoreIterations : static_cast<std::int32_t>(nextId);
    return rc::kSuccess;
}

NWDSCCODE EmbeddedClient::WhoAmI(NWDSContextHandle context, char* identity) {
    if (!store_)
        return rc::kNotStarted;
    if (!FindContext(context))
        return rc::kBadContext;
    if (!identity)
        return rc::kBadArgument;
    const char* name = options_.anonymous ? kPublicIdentity : kAdministratorName;
    std::memcpy(identity, name, std::strlen(name) + 1);
    return rc::kSuccess;
}

std::unique_ptr<DirectoryClient> MakeEmbeddedClient() {
    return std::make_unique<EmbeddedClient>(EmbeddedOptions{DefaultEmbeddedStorePath()});
}
