#include "directory/GroupMembership.h"

#include "client/BoundClient.h"
#include "directory/CheckNDSError.h"

bool GroupMembership::Add(const std::string& loginName, const std::string& directoryName) {
    waiting_.push_back({loginName, directoryName});
    return waiting_.size() < kBatchSize || Flush();
}

bool GroupMembership::Flush() {
    if (waiting_.empty())
        return true;
    if (CheckNDSError(Client().AddGroupMembers(group_, waiting_), "Adding the created users to the group"))
        return false;
    joined_ += waiting_.size();
    waiting_.clear();
    return true;
}
