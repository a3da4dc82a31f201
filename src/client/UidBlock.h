#pragma once

#include <cstdint>
#include <string>

// The range uidNumbers of new users are taken from, both ends included.
struct UidRange {
    std::uint32_t low = 10000;
    std::uint32_t high = 60000;
};

// The uidNumbers a run reserved in one step: consecutive numbers from `first`, or, where the server
// assigns each user its number at the add, the value the add carries instead (`serverValue`), which
// the server replaces.
struct UidBlock {
    std::uint32_t first = 0;
    std::string serverValue; // empty: the numbers are first, first + 1, ...

    bool ServerAssigns() const { return !serverValue.empty(); }
    // The "UID Number" of the run's user at `position` (from 0).
    std::string NumberAt(std::uint32_t position) const {
        return ServerAssigns() ? serverValue : std::to_string(first + position);
    }
};
