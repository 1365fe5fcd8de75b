#include "core/codec/ByteCodec.h"
#include "core/codec/TerrainRank.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

// What a nibble is written back as after a load without edits.
int rewrittenNibble(int nibble) {
    if (nibble <= 4)
        return nibble;
    return nibble <= 9 ? 5 : 0; // 5-9 select nothing (written 5); 10-15 read as "--"
}

TEST(TerrainRank, EveryByteRoundTripsAsThePairRulesSay) {
    for (int byte = 0; byte < 256; ++byte) {
        const auto pair = TerrainRank::decodePair(byte);
        const int expected = rewrittenNibble(byte >> 4) * 16 + rewrittenNibble(byte & 0x0F);
        EXPECT_EQ(TerrainRank::encodePair(pair), expected) << "byte " << byte;
    }
}

TEST(TerrainRank, DecodesStoredValuesToItems) {
    struct Row {
        int byte;
        ListChoice first;
        ListChoice second;
    };
    const Row rows[] = {
        {0x43, ListChoice::item(0), ListChoice::item(1)},
        {0x21, ListChoice::item(2), ListChoice::item(3)},
        {0x00, ListChoice::item(4), ListChoice::item(4)},
        {0x4A, ListChoice::item(0), ListChoice::item(4)},
        {0x57, ListChoice::none(), ListChoice::none()},
        {kEndOfFile, ListChoice::item(4), ListChoice::item(4)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(TerrainRank::decodePair(row.byte), (TerrainRank::Pair{row.first, row.second}))
            << "byte " << row.byte;
    }
    EXPECT_EQ(TerrainRank::kItems[static_cast<std::size_t>(
                  TerrainRank::decodePair(0x13).first.indexOr())],
              "D");
}

TEST(TerrainRank, NoSelectionIsWrittenAsFiveAndAnUnlistedValueAsItself) {
    EXPECT_EQ(TerrainRank::encodePair(ListChoice::none(), ListChoice::item(0)), 0x54);
    EXPECT_EQ(TerrainRank::encodePair(ListChoice::unlisted(7), ListChoice::item(4)), 0x70);
    EXPECT_EQ(TerrainRank::encodePair(ListChoice::item(0), ListChoice::unlisted(12)), 0x4C);
    EXPECT_EQ(TerrainRank::encodePair(ListChoice::item(3), ListChoice::item(1)), 0x13);
}

} // namespace
} // namespace starfall
