#include "ListEntries.h"

#include "directory/TNDSObj.h"

#include <gtest/gtest.h>

std::vector<std::pair<std::string, std::string>> ListEntries(const std::string& container, NWDSCCODE* end) {
    std::vector<std::pair<std::string, std::string>> entries;
    TNDSObj cursor;
    NWDSCCODE code = ListFirst(container, cursor);
    while (code == 0) {
        entries.emplace_back(cursor.EntryName, std::string(cursor.BaseClass()));
        code = ListNext(cursor);
    }
    EXPECT_EQ(cursor.Context, 0u) << container;
    EXPECT_EQ(cursor.Buffer, 0u) << container;
    if (end)
        *end = code;
    return entries;
}
