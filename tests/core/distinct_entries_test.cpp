// Rows sharing a name and an address text are one record: the first row of
// each stands for the rest.
#include "core/lists/DistinctEntries.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

NameList listOf(std::vector<NameListEntry> entries) {
    NameList list;
    list.baseOffset = 100;
    list.entries = std::move(entries);
    return list;
}

TEST(DistinctEntries, RowsPointAtTheFirstRowOfTheSameNameAndAddressText) {
    const struct {
        const char* what;
        std::vector<NameListEntry> entries;
        std::vector<std::size_t> firstRows;
    } cases[] = {
        {"an empty list", {}, {}},
        {"repeats",
         {{"A", "4\n"}, {"B", "8\n"}, {"A", "4\n"}, {"B", "8\n"}, {"A", "4\n"}},
         {0, 1, 0, 1, 0}},
        // A name changes where a split unit's bytes lie, so a name alone or an
        // address alone does not make two rows one.
        {"same address, other name", {{"A", "4\n"}, {"B", "4\n"}}, {0, 1}},
        {"same name, other address", {{"A", "4\n"}, {"A", "8\n"}}, {0, 1}},
        // The same number written otherwise is another text.
        {"address texts differ", {{"A", "4\n"}, {"A", "4"}, {"A", " 4\n"}, {"A", "4"}},
         {0, 1, 2, 1}},
        {"a name and an address that join alike", {{"AB", "4"}, {"A", "B4"}, {"", ""}, {"", ""}},
         {0, 1, 2, 2}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firstRowsOfEntries(listOf(c.entries)), c.firstRows) << c.what;
}

} // namespace
} // namespace starfall
