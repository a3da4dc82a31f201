#pragma once

#include "client/BatchCandidate.h"
#include "client/ClientTypes.h"
#include "client/DirectoryGroup.h"
#include "client/ExpirySupport.h"
#include "client/PasswordSupport.h"
#include "client/PosixSupport.h"
#include "client/UidBlock.h"

#include <string>
#include <vector>

// The one interface through which the program reaches a directory: one operation for each
// operation of the directory client, arguments in the client's order, fixed-size areas as the
// client defines them. Every operation returns a result code and raises nothing; one given a
// buffer prepared for another operation (a request buffer to read entries from, a result buffer
// to add from) answers kWrongOperation.
class DirectoryClient {
public:
    virtual ~DirectoryClient() = default;

    // Client start, step 1: initialise the client library. Both arguments are null.
    virtual NWCCODE StartClientLibrary(void* reserved1, void* reserved2) = 0;
    // Client start, step 2: open the client's session scope; fills one 32-bit value.
    virtual NWCCODE OpenClientScope(std::uint32_t* scope) = 0;
    // Client start, step 3: attach to the directory with that value, 1 and 0; stores a handle
    // other than kClientNotStarted on success.
    virtual NWCCODE AttachClient(std::uint32_t scope, std::uint32_t mode, std::uint32_t reserved,
                                 std::uint32_t* clientHandle) = 0;

    virtual NWDSCCODE CreateContext(NWDSContextHandle* context) = 0;
    virtual NWDSCCODE FreeContext(NWDSContextHandle context) = 0;
    // Reads setting `key`; only the flags (kContextFlags) are read by the program.
    virtual NWDSCCODE GetContext(NWDSContextHandle context, std::int32_t key, std::uint32_t* value) = 0;
    // For kContextFlags and kContextSetting2 `value` points to a 32-bit value, for
    // kContextNameContext to a NUL-terminated text that the client copies.
    virtual NWDSCCODE SetContext(NWDSContextHandle context, std::int32_t key, const void* value) = 0;

    virtual NWDSCCODE NWDSAllocBuf(std::size_t size, NWBufHandle* buffer) = 0;
    virtual NWDSCCODE FreeBuf(NWBufHandle buffer) = 0;
    virtual NWDSCCODE NWDSInitBuf(NWDSContextHandle context, std::uint32_t operation, NWBufHandle buffer) = 0;
    // Appends one attribute with one value (a NUL-terminated text for the syntaxes the program uses).
    virtual NWDSCCODE NWDSPutAttrNameAndVal(NWDSContextHandle context, NWBufHandle buffer, const char* attrName,
                                            std::uint32_t syntax, const void* value) = 0;
    // Creates `objectName` (relative to the context's name context, or absolute with a leading ".")
    // with the attributes of `buffer`.
    virtual NWDSCCODE NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t* iterationHandle,
                                    std::uint8_t more, NWBufHandle buffer) = 0;

    // Fills `buffer` with the next batch of the subordinates of `parentName`. `*iterationHandle` is
    // kNoMoreIterations before the first batch and after the last one.
    virtual NWDSCCODE ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                                       NWBufHandle buffer) = 0;
    virtual NWDSCCODE GetObjectCount(NWDSContextHandle context, NWBufHandle buffer, std::uint32_t* count) = 0;
    // Takes the next entry out of a result buffer: its name into a kEntryNameSize area, its
    // base-class name kBaseClassOffset bytes into `objectInfo`. Nonzero when no entry is left. An
    // entry whose name cannot be handed out whole comes with an empty name and base class.
    virtual NWDSCCODE GetObjectName(NWDSContextHandle context, NWBufHandle buffer, char* objectName,
                                    std::uint32_t* attrCount, ObjectInfoArea* objectInfo) = 0;

    // Name of the identity the context is authenticated as, into a kIdentitySize area;
    // kPublicIdentity when nobody is logged in.
    virtual NWDSCCODE WhoAmI(NWDSContextHandle context, char* identity) = 0;

    // Queries of our own, beside the client's operations.

    // Whether an add may carry "Password" and "Password Must Change", and why not.
    virtual PasswordSupport QueryPasswordSupport() = 0;
    // Whether an add may carry "Login Expiration Time", and why not.
    virtual ExpiryLimit QueryExpirySupport() = 0;
    // Whether an add may carry a Linux login ("UID Number", "GID Number", "Home Directory", "Login
    // Shell"), and why not.
    virtual PosixLimit QueryPosixSupport() = 0;
    // Reserves `count` uidNumbers inside `range` in one step, for Users made below the naming context of
    // `context`'s name context; no number is ever handed out twice, to this program or another. Numbers
    // not used later are skipped. kUidRangeFull when the range cannot hold `count` more.
    virtual NWDSCCODE ReserveUidNumbers(NWDSContextHandle context, std::uint32_t count, const UidRange& range,
                                        UidBlock* block) = 0;
    // The directory's own full name of `objectName` (as NWDSAddObject takes it): an LDAP DN, or the
    // embedded directory's dotted name from the top. The object need not exist.
    virtual NWDSCCODE ObjectDirectoryName(NWDSContextHandle context, const char* objectName, std::string* name) = 0;
    // Which of `loginNames` some user in the naming context of `context`'s name context already logs
    // in with, as the directory compares login names; in the order of `loginNames`. One search for
    // all of them. None on a directory whose users have no login name beyond their own name.
    virtual NWDSCCODE FindTakenLoginNames(NWDSContextHandle context, const std::vector<std::string>& loginNames,
                                          std::vector<std::string>* taken) = 0;
    // Every group of the directory that users can join, in the order the directory gives them.
    virtual NWDSCCODE ListGroups(std::vector<DirectoryGroup>* groups) = 0;
    // Adds `members` to the group named `group` (DirectoryGroup::name) in one change, in the form its
    // kind lists members by; members already in it are no error.
    virtual NWDSCCODE AddGroupMembers(const std::string& group, const std::vector<GroupMember>& members) = 0;

    // Accounts of a batch. Entries directly below the container `containerName` (named as a
    // listing's parent) whose own name starts with `prefix`, letter case ignored; `candidates` is
    // replaced.
    virtual NWDSCCODE ReadBatchCandidates(NWDSContextHandle context, const char* containerName, const char* prefix,
                                          std::vector<BatchCandidate>* candidates) = 0;
    // Disables the User `objectName` (named as NWDSAddObject names a new one) so that it can no longer
    // log in, or enables it again; kNotAUser for an entry of another class.
    virtual NWDSCCODE SetLoginDisabled(NWDSContextHandle context, const char* objectName, bool disabled) = 0;
    // Removes the User `objectName` (named the same way); kNotAUser for an entry of another class; one
    // that holds entries is refused (the embedded directory: kHasSubordinates; LDAP: notAllowedOnNonLeaf).
    virtual NWDSCCODE RemoveEntry(NWDSContextHandle context, const char* objectName) = 0;
};
