#include "directory/IncompleteListings.h"
#include "client/ResultCodes.h"
#include "directory/TNDSObj.h"

#include <gtest/gtest.h>

namespace {
WalkedContainer At(std::size_t level, const std::string& name) {
    return {0, level, name};
}
} // namespace

TEST(IncompleteListingsTest, NormalEndsAndEmptyContainersAreNoFailures) {
    IncompleteListings listings;
    listings.Note(At(0, "[Root]"), kListExhausted);
    listings.Note(At(2, ".East.Sales.Acme"), rc::kNoMoreEntries); // empty: its first read finds nothing
    EXPECT_EQ(listings.count(), 0u);
    EXPECT_EQ(listings.Message(), "");

    listings.Note(At(2, ".Sales.Acme"), rc::kServerDown);
    EXPECT_EQ(listings.Message(), "The scan is incomplete: 1 container could not be listed completely.\r\n"
                                  "Sales.Acme - Error Code FFFFFD7C");
}

TEST(IncompleteListingsTest, NamesTheFirstFewInTheWalksOrderAndCountsTheRest) {
    IncompleteListings listings;
    listings.Note(At(0, "[Root]"), 32);
    listings.Note(At(1, "Acme"), rc::kServerDown);
    listings.Note(At(1, "Empty"), rc::kNoMoreEntries);
    listings.Note(At(2, ".Sales.Acme"), -5);
    for (const char* name : {".A.Acme", ".B.Acme", ".C.Acme", ".D.Acme"})
        listings.Note(At(2, name), rc::kServerDown);
    EXPECT_EQ(listings.count(), 7u);
    EXPECT_EQ(listings.Message(), "The scan is incomplete: 7 containers could not be listed completely.\r\n"
                                  "[Root] - Error Code 20\r\n"
                                  "Acme - Error Code FFFFFD7C\r\n"
                                  "Sales.Acme - Error Code FFFFFFFB\r\n"
                                  "A.Acme - Error Code FFFFFD7C\r\n"
                                  "B.Acme - Error Code FFFFFD7C\r\n"
                                  "... and 2 more.");
}
