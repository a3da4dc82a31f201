#pragma once

#include "directory/ContainerScan.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The containers of a whole scan, by the walk's number: node 0 is "[Root]".
struct ScanTree {
    struct Node {
        ScannedContainer container;
        std::vector<std::size_t> children; // in the order the tree shows them
    };
    std::vector<Node> nodes;
    ContainerScan scan;
    // False when the walk was stopped (it never is here).
    bool complete = false;
};

// Scans the bound directory (CheckScanIdentity first: nullopt after its message). `onEntry` is
// called with the objects counted so far after each entry.
std::optional<ScanTree> ScanDirectory(const std::function<void(std::int32_t)>& onEntry = {});
