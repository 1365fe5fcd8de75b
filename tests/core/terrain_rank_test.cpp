#include "core/codec/ByteCodec.h"
#include "core/codec/TerrainRank.h"
#include "core/unit/UnitFields.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

// A unit record read with `byte` at offset 2: air in its high nibble, space in its low.
UnitRecord withTerrainByte(int byte) {
    std::vector<int> bytes(unitLayout().offsets().size(), 0);
    bytes[unitLayout().indexOf(2)] = byte;
    return unitLayout().decode(bytes);
}

const std::vector<Position>& positions() {
    static const std::vector<Position> planned(unitLayout().offsets().begin(),
                                               unitLayout().offsets().end());
    return planned;
}

TEST(TerrainRank, DecodesStoredValuesByTheDecimalDigitRule) {
    struct Row {
        int byte;
        ListChoice first;
        ListChoice second;
    };
    const Row rows[] = {
        {0x43, ListChoice::item(0), ListChoice::item(1)},
        {0x21, ListChoice::item(2), ListChoice::item(3)},
        {0x00, ListChoice::item(4), ListChoice::item(4)},
        {0x4A, ListChoice::item(0), ListChoice::item(4)}, // 10-15 read as "--"
        {0x57, ListChoice::none(), ListChoice::none()},   // 5-9 select nothing
        {kEndOfFile, ListChoice::item(4), ListChoice::item(4)},
    };
    for (const Row& row : rows) {
        const UnitRecord record = withTerrainByte(row.byte);
        EXPECT_EQ(record.terrain[0], row.first) << "byte " << row.byte;
        EXPECT_EQ(record.terrain[1], row.second) << "byte " << row.byte;
    }
    EXPECT_EQ(
        TerrainRank::kItems[static_cast<std::size_t>(withTerrainByte(0x13).terrain[0].indexOr())],
        "D");
}

TEST(TerrainRank, ALoadWithoutEditsWritesNoTerrainBits) {
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_TRUE(unitLayout().savePlan(positions(), withTerrainByte(byte)).empty()) << byte;
}

TEST(TerrainRank, ItemsAndUnlistedValuesAreStoredAsTheirCodes) {
    UnitRecord record = withTerrainByte(0x00);
    record.terrain[0] = ListChoice::item(3);      // "D"
    record.terrain[1] = ListChoice::unlisted(12); // as a script may set it
    const auto plan = unitLayout().savePlan(positions(), record);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].value, 0x1C);
    EXPECT_EQ(plan[0].mask, 0xFF);
}

} // namespace
} // namespace starfall
