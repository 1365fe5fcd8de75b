#include "core/codec/Cp949.h"
#include "core/lists/NameSearch.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

NameList listOf(std::initializer_list<const char*> names) {
    NameList list;
    for (const char* name : names)
        list.entries.push_back({cp949::fromUtf8(name), "0"});
    return list;
}

TEST(NameSearch, SameTextStepsThroughMatchesAndWraps) {
    const NameList list = listOf({"a", "b", "c", "gm", "d", "e", "f", "gm2", "h", "i"});
    NameSearch search;
    EXPECT_EQ(search.next("gm", list), 3u);
    EXPECT_EQ(search.next("gm", list), 7u);
    EXPECT_EQ(search.next("gm", list), 3u);
    EXPECT_EQ(search.restartIndex(), 4u);
}

TEST(NameSearch, NewTextStartsFromTheTop) {
    const NameList list = listOf({"xa", "b", "xc"});
    NameSearch search;
    EXPECT_EQ(search.next("c", list), 2u);
    EXPECT_EQ(search.next("x", list), 0u);
    EXPECT_EQ(search.next("x", list), 2u);
    EXPECT_EQ(search.next("x", list), 0u); // after a match on the last row
}

TEST(NameSearch, EmptyTextStepsRowByRow) {
    const NameList list = listOf({"a", "b", "c"});
    NameSearch search;
    EXPECT_EQ(search.next("", list), 0u);
    EXPECT_EQ(search.next("", list), 1u);
    EXPECT_EQ(search.next("", list), 2u);
    EXPECT_EQ(search.next("", list), 0u);
}

TEST(NameSearch, MissKeepsTheCursor) {
    const NameList list = listOf({"a", "b"});
    NameSearch search;
    EXPECT_EQ(search.next("b", list), 1u);
    EXPECT_EQ(search.next("zz", list), std::nullopt);
    EXPECT_EQ(search.restartIndex(), 0u); // the new text reset it before the miss
    EXPECT_EQ(search.next("zz", NameList{}), std::nullopt);
}

TEST(NameSearch, DoesNotMatchInsideADoubleByteCharacter) {
    const NameList list = listOf({"가가", "x"});
    NameSearch search;
    EXPECT_EQ(search.next("\xA1\xB0", list), std::nullopt);
    EXPECT_EQ(search.next(cp949::fromUtf8("가"), list), 0u);
}

} // namespace
} // namespace starfall
