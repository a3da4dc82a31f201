#pragma once

#include <string>
#include <utility>
#include <vector>

// One container's listing as the scan's walk got it: the name the walk listed and every entry, as
// (name, base class), in the order the listing gave them.
struct WalkedListing {
    std::string container;
    std::vector<std::pair<std::string, std::string>> entries;
};

// The scan's walk from "[Root]", noting every listing; containers are walked in turn.
std::vector<WalkedListing> WalkListings();

// Entries the walk listed, naming contexts included: what the scan counts as objects.
std::size_t CountListed(const std::vector<WalkedListing>& listings);

// Lists every container the walk listed once more, below the top, and expects the same entries in
// the same order: a second listing of a container goes to the server one level, so this compares
// what the scan was served with what one-level searches give.
void ExpectOneLevelListingsAgree(const std::vector<WalkedListing>& listings);
