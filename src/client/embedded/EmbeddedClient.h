#pragma once

#include "client/ClientBase.h"

#include <memory>
#include <string>

class EmbeddedStore;

struct EmbeddedOptions {
    std::string path;
    // Entered as nobody: the identity reads "[Public]" and adds are refused.
    bool anonymous = false;
    // A new store gets the sample tree (Acme, Sales, East, a user, a printer, a Country, Admin, the group Staff).
    bool sample = true;
    // How long an add waits for another program writing to the same store.
    int busyTimeoutMs = 5000;
};

// The default directory: persistent, in one SQLite database, entered as its administrator.
class EmbeddedClient : public ClientBase {
public:
    explicit EmbeddedClient(EmbeddedOptions options);
    ~EmbeddedClient() override;

    // Opens the store, creating it on first use; nonzero when it cannot.
    NWCCODE StartClientLibrary(void* reserved1, void* reserved2) override;
    NWCCODE OpenClientScope(std::uint32_t* scope) override;
    NWCCODE AttachClient(std::uint32_t scope, std::uint32_t mode, std::uint32_t reserved,
                         std::uint32_t* clientHandle) override;

    NWDSCCODE NWDSAddObject(NWDSContextHandle context, const char* objectName, std::int32_t* iterationHandle,
                            std::uint8_t more, NWBufHandle buffer) override;
    NWDSCCODE ListSubordinates(NWDSContextHandle context, const char* parentName, std::int32_t* iterationHandle,
                               NWBufHandle buffer) override;
    NWDSCCODE WhoAmI(NWDSContextHandle context, char* identity) override;

    // Objects of class "Group", named by their dotted names from the top.
    NWDSCCODE ListGroups(std::vector<DirectoryGroup>* groups) override;
    // Adds the members' directory names to the group's "Member" lines.
    NWDSCCODE AddGroupMembers(const std::string& group, const std::vector<GroupMember>& members) override;

    // Passwords are kept hashed (PasswordHash.h), the demand to change as a flag beside them.
    PasswordSupport QueryPasswordSupport() override;
    // Kept as an attribute its logins honour (EmbeddedLogin.h).
    ExpiryLimit QueryExpirySupport() override { return ExpiryLimit::None; }
    // Kept as the User's attributes, the numbers from a counter in the store.
    PosixLimit QueryPosixSupport() override { return PosixLimit::None; }

    // A login as the User `dottedName` (from the top) with `password`, now: 0, or why it is refused
    // (EmbeddedLogin.h).
    NWDSCCODE Login(const std::string& dottedName, const std::string& password);

protected:
    // A batch's accounts (EmbeddedClientAccounts.cpp): the disabled login is kLoginDisabledAttribute.
    NWDSCCODE CandidatesIn(const std::vector<NamePart>& container, const std::string& prefix,
                           std::vector<BatchCandidate>* candidates) override;
    NWDSCCODE SetLoginDisabledAt(const std::vector<NamePart>& path, bool disabled) override;
    NWDSCCODE RemoveAt(const std::vector<NamePart>& path) override;
    // The dotted name, from the top down as the path stands.
    NWDSCCODE DirectoryNameOf(const std::vector<NamePart>& path, std::string* name) override;
    // A user's login name here is its object name, unique among its siblings only: none is taken
    // elsewhere.
    NWDSCCODE TakenLoginNamesIn(const std::vector<NamePart>& container, const std::vector<std::string>& loginNames,
                                std::vector<std::string>* taken) override;
    // One counter for the whole store (EmbeddedStore::ReserveUidNumbers).
    NWDSCCODE UidNumbersIn(const std::vector<NamePart>& container, std::uint32_t count, const UidRange& range,
                           UidBlock* block) override;

private:
    // The object at `path` when it is a User: kNotAUser for another class.
    NWDSCCODE FindUser(const std::vector<NamePart>& path, std::int64_t* id);

    EmbeddedOptions options_;
    std::unique_ptr<EmbeddedStore> store_;
};

// The program's default client: the embedded directory at DefaultEmbeddedStorePath().
std::unique_ptr<DirectoryClient> MakeEmbeddedClient();
