#pragma once

#include "client/ClientTypes.h"
#include "directory/TreeWalk.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// The containers a scan could not list completely, gathered from the walk's end codes for the one
// message at the end of the scan.
class IncompleteListings {
public:
    // Containers named in the message; the rest are counted.
    static constexpr std::size_t kNamed = 5;

    // Notes how the listing of `container` ended; ends that are no failure (ListingFailed) are
    // passed over.
    void Note(const WalkedContainer& container, NWDSCCODE code);
    std::size_t count() const { return count_; }
    // Empty when every listing ended normally. Else "The scan is incomplete: N containers could
    // not be listed completely.", then a line "<dotted name> - Error Code %X" for each of the first
    // kNamed, in the order the walk ended them, and "... and M more." for the others; CR LF
    // between lines.
    std::string Message() const;

private:
    std::vector<std::pair<std::string, NWDSCCODE>> named_;
    std::size_t count_ = 0;
};
