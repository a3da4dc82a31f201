#include "WalkListings.h"

#include "ListEntries.h"
#include "client/SchemaNames.h"
#include "directory/SharedContext.h"
#include "directory/TreeWalk.h"

#include <gtest/gtest.h>

std::vector<WalkedListing> WalkListings() {
    struct Recorder final : TreeWalkVisitor {
        std::vector<WalkedListing> listings;
        void ListingStarts(const WalkedContainer& container) override { listings.push_back({container.name, {}}); }
        bool EntryListed(const WalkedContainer&, std::string_view name, std::string_view baseClass) override {
            listings.back().entries.emplace_back(name, baseClass);
            return IsContainerClass(baseClass);
        }
    } recorder;
    WalkTree(recorder);
    return recorder.listings;
}

std::size_t CountListed(const std::vector<WalkedListing>& listings) {
    std::size_t count = 0;
    for (const WalkedListing& listing : listings)
        count += listing.entries.size();
    return count;
}

void ExpectOneLevelListingsAgree(const std::vector<WalkedListing>& listings) {
    for (const WalkedListing& listing : listings) {
        if (listing.container == kRootName)
            continue;
        EXPECT_EQ(ListEntries(listing.container), listing.entries) << listing.container;
    }
}
