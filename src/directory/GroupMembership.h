#pragma once

#include "client/DirectoryGroup.h"

#include <cstddef>
#include <string>
#include <vector>

// The run's users joining its group in batches: one change of the group for every kBatchSize
// users, and one for the rest at the end of the run or when it stops. Users join in the order
// they were created, so those in the group are always the first JoinedCount() of the run.
class GroupMembership {
public:
    static constexpr std::size_t kBatchSize = 100;

    explicit GroupMembership(std::string group) : group_(std::move(group)) {}

    // Notes a created user; sends a batch when kBatchSize are waiting. False when that failed,
    // reported through CheckNDSError: the run stops there.
    bool Add(const std::string& loginName, const std::string& directoryName);
    // Sends the users still waiting. False when that failed, reported through CheckNDSError.
    bool Flush();
    // Created users that are in the group.
    std::size_t JoinedCount() const { return joined_; }

private:
    std::string group_;
    std::vector<GroupMember> waiting_;
    std::size_t joined_ = 0;
};
