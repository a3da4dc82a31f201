#pragma once

#include "client/ClientBuffer.h"
#include "client/DirectoryClient.h"
#include "client/DottedName.h"
#include "client/UserRequest.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// What every backend shares: the contexts with their three settings and the 4096-byte buffers
// with their request and result layouts. A backend adds the start steps, the add, the listing
// and the identity.
class ClientBase : public DirectoryClient {
public:
    struct ContextState {
        std::uint32_t flags = 0;
        std::uint32_t setting2 = 0;
        std::string nameContext = kRootName;
    };

    NWDSCCODE CreateContext(NWDSContextHandle* context) override;
    NWDSCCODE FreeContext(NWDSContextHandle context) override;
    NWDSCCODE GetContext(NWDSContextHandle context, std::int32_t key, std::uint32_t* value) override;
    NWDSCCODE SetContext(NWDSContextHandle context, std::int32_t key, const void* value) override;

    NWDSCCODE NWDSAllocBuf(std::size_t size, NWBufHandle* buffer) override;
    NWDSCCODE FreeBuf(NWBufHandle buffer) override;
    NWDSCCODE NWDSInitBuf(NWDSContextHandle context, std::uint32_t operation, NWBufHandle buffer) override;
    NWDSCCODE NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* attrName,
                                    std::uint32_t syntax, const void* value) override;
    NWDSCCODE GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) override;
    NWDSCCODE GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* objectName, std::uint32_t* attrCount,
                            ObjectInfoArea* objectInfo) override;

    // Checks the context and the name the way an add does, then asks the backend for the name
    // (DirectoryNameOf).
    NWDSCCODE ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) override;
    // Checks the context, then asks the backend about the container its name context names
    // (TakenLoginNamesIn). Nothing is taken when no names are asked about.
    NWDSCCODE FindTakenLoginNames(NWDSContextHandle context, const std::vector<std::string>& loginNames,
                                  std::vector<std::string>* taken) override;

    // Checks the context, then asks the backend about the container its name context names
    // (UidNumbersIn). Nothing is reserved for no users.
    NWDSCCODE ReserveUidNumbers(NWDSContextHandle context, std::uint32_t count, const UidRange& range,
                                UidBlock* block) override;

    // Check the context and the names once, then ask the backend (CandidatesIn, SetLoginDisabledAt,
    // RemoveAt). A container at the top of the tree holds no users: kIllegalContainment.
    NWDSCCODE ReadBatchCandidates(NWDSContextHandle context, const char* containerName, const char* prefix,
                                  std::vector<BatchCandidate>* candidates) override;
    NWDSCCODE SetLoginDisabled(NWDSContextHandle context, const char* objectName, bool disabled) override;
    NWDSCCODE RemoveEntry(NWDSContextHandle context, const char* objectName) override;

    std::size_t OpenContextCount() const { return contexts_.size(); }
    std::size_t OpenBufferCount() const { return buffers_.size(); }

protected:
    // The start steps report 16 bits: the low half of our code, which is never 0 for a failure.
    static NWCCODE StartCode(NWDSCCODE code) { return static_cast<NWCCODE>(code & 0xFFFF); }

    // The context and buffer a call names, or why not: kBadContext, else kBadBuffer.
    struct Handles {
        ContextState* state = nullptr;
        ClientBuffer* buffer = nullptr;
        NWDSCCODE code = 0;
    };
    Handles FindHandles(NWDSContextHandle context, NWBufHandle buffer);

    // What every listing checks first: known handles and both arguments present.
    Handles CheckListingRequest(NWDSContextHandle context, NWBufHandle buffer, const char* parentName,
                                const std::int32_t* iterationHandle);

    // Checks an add request the way every backend must: known handles, a buffer prepared for an
    // add, a well-formed name whose last part is typeless, the attributes of a User
    // (ReadUserAttributes); then that this directory can honour the password and the demand to
    // change it (CheckPasswordRequest). Fills `request` and returns 0, or the refusal's code.
    NWDSCCODE ReadUserRequest(NWDSContextHandle context, const char* objectName, NWBufHandle buffer,
                              UserRequest* request);

    // Whether this directory can set a password with a new User now, and ask for its change when
    // `mustChange`: 0, or the refusal's code. By default PasswordRefusal of QueryPasswordSupport; a
    // backend that must ask a server returns the server's code when it cannot.
    virtual NWDSCCODE CheckPasswordRequest(bool mustChange);

    // Path of a new object's name on a context (top down, its own name last): kIllegalName for an
    // empty or ill-formed name, the top itself or a typed own name (a new object's own name is one
    // literal value), kValueTooLong for an own name over 256 bytes.
    static NWDSCCODE ResolveObjectPath(const ContextState& state, const char* objectName, std::vector<NamePart>* path);

    // The directory's own name for the object at `path` (ResolveObjectPath's form).
    virtual NWDSCCODE DirectoryNameOf(const std::vector<NamePart>& path, std::string* name) = 0;
    // FindTakenLoginNames for the container at `container` (top down, not the top itself).
    virtual NWDSCCODE TakenLoginNamesIn(const std::vector<NamePart>& container,
                                        const std::vector<std::string>& loginNames,
                                        std::vector<std::string>* taken) = 0;

    // ReserveUidNumbers for the container at `container` (top down, not the top itself).
    virtual NWDSCCODE UidNumbersIn(const std::vector<NamePart>& container, std::uint32_t count, const UidRange& range,
                                   UidBlock* block) = 0;

    // The batch operations on resolved paths: the container's (top down, not the top) and the
    // object's (ResolveObjectPath's form).
    virtual NWDSCCODE CandidatesIn(const std::vector<NamePart>& container, const std::string& prefix,
                                   std::vector<BatchCandidate>* candidates) = 0;
    virtual NWDSCCODE SetLoginDisabledAt(const std::vector<NamePart>& path, bool disabled) = 0;
    virtual NWDSCCODE RemoveAt(const std::vector<NamePart>& path) = 0;

    // Null for an unknown or released handle.
    ContextState* FindContext(NWDSContextHandle context);
    ClientBuffer* FindBuffer(NWBufHandle buffer);

private:
    // The path of an existing object below the top named on `context` (ResolveObjectPath's form);
    // kIllegalContainment for one at the top.
    NWDSCCODE ExistingObjectPath(NWDSContextHandle context, const char* objectName, std::vector<NamePart>* path);

    std::unordered_map<NWDSContextHandle, ContextState> contexts_;
    std::unordered_map<NWBufHandle, std::unique_ptr<ClientBuffer>> buffers_;
    NWDSContextHandle nextContext_ = 1;
    NWBufHandle nextBuffer_ = 1;
};
