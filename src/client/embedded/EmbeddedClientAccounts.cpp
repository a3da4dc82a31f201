// EmbeddedClient: the accounts of a batch, and the login that honours their state.
#include "client/embedded/EmbeddedClient.h"

#include "client/DottedName.h"
#include "client/ResultCodes.h"
#include "client/SchemaNames.h"
#include "client/embedded/EmbeddedLogin.h"
#include "client/embedded/EmbeddedSchema.h"
#include "client/embedded/EmbeddedStore.h"

#include <ctime>

NWDSCCODE EmbeddedClient::CandidatesIn(const std::vector<NamePart>& container, const std::string& prefix,
                                       std::vector<BatchCandidate>* candidates) {
    if (!store_)
        return rc::kNotStarted;
    const auto path = TypelessValues(container);
    if (!path)
        return rc::kIllegalName;
    EmbeddedStore::Object parent;
    if (const NWDSCCODE code = store_->Find(*path, &parent); code != rc::kSuccess)
        return code;
    return store_->Candidates(parent.id, prefix, candidates);
}

NWDSCCODE EmbeddedClient::FindUser(const std::vector<NamePart>& path, std::int64_t* id) {
    if (!store_)
        return rc::kNotStarted;
    if (options_.anonymous)
        return rc::kNoAccess;
    const auto values = TypelessValues(path);
    if (!values)
        return rc::kIllegalName;
    EmbeddedStore::Object object;
    if (const NWDSCCODE code = store_->Find(*values, &object); code != rc::kSuccess)
        return code;
    if (object.baseClass != kUserClass)
        return rc::kNotAUser;
    *id = object.id;
    return rc::kSuccess;
}

NWDSCCODE EmbeddedClient::SetLoginDisabledAt(const std::vector<NamePart>& path, bool disabled) {
    std::int64_t id = 0;
    if (const NWDSCCODE code = FindUser(path, &id); code != rc::kSuccess)
        return code;
    return store_->WriteAttribute(id, kLoginDisabledAttribute,
                                  disabled ? std::optional<std::string>(kTrueValue) : std::nullopt);
}

NWDSCCODE EmbeddedClient::RemoveAt(const std::vector<NamePart>& path) {
    std::int64_t id = 0;
    if (const NWDSCCODE code = FindUser(path, &id); code != rc::kSuccess)
        return code;
    return store_->Remove(id);
}

NWDSCCODE EmbeddedClient::Login(const std::string& dottedName, const std::string& password) {
    if (!store_)
        return rc::kNotStarted;
    return CheckLogin(*store_, dottedName, password, static_cast<std::int64_t>(std::time(nullptr)));
}
