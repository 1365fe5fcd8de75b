#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"
#include "core/unit/UnitRecordFile.h"
#include "core/weapon/WeaponRecord.h"

#include "core/codec/Cp949.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <set>

namespace starfall {
namespace {

using test::SyntheticImage;

constexpr Position P = 10000;

UnitPlace place(std::int32_t address, const char* name = "보통", Position position = P) {
    return {address, position, cp949::fromUtf8(name)};
}

// Offsets from P of the 20 bytes, in read and write order.
std::vector<Position> offsets(const UnitPlace& unit) {
    std::vector<Position> out;
    for (const Position p : unitRecordPositions(unit))
        out.push_back(p - unit.position);
    return out;
}

TEST(UnitLayout, PlainRecordAndEveryGapPoint) {
    struct Row {
        UnitPlace unit;
        std::vector<Position> expected;
    };
    const Row rows[] = {
        {place(100), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 18, 20, -4, -3}},
        {place(10922), {0,   1,   2,   3,   308, 309, 310, 311, 312, 313,
                        314, 315, 316, 317, 318, 320, 322, 324, -4,  -3}},
        {place(100, "단쿠가"),
         {0, 1, 2, 3, 4, 5, 6, 7, 312, 313, 314, 315, 316, 317, 318, 320, 322, 324, -4, -3}},
        {place(13268),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 314, 315, 316, 317, 318, 320, 322, 324, -4, -3}},
        {place(100, "보통", 46329404),
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 316, 317, 318, 320, 322, 324, -4, -3}},
        {place(6208), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 318, 320, 322, 324, -4, -3}},
        {place(22672), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 318, 320, 322, 324, -4, -3}},
        // Two tests hold: limit one gap on, EN two.
        {place(13268, "단쿠가"),
         {0, 1, 2, 3, 4, 5, 6, 7, 312, 313, 618, 619, 620, 621, 622, 624, 626, 628, -4, -3}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(offsets(row.unit), row.expected) << row.unit.address;
        // Whether the record lies in an image is judged by its highest byte.
        const std::vector<Position> all = unitRecordPositions(row.unit);
        EXPECT_EQ(unitRecordLastPosition(row.unit), *std::max_element(all.begin(), all.end()))
            << row.unit.address;
    }
}

TEST(UnitRecordFile, DecodesAndWritesBackExactlyTheTwentyBytes) {
    test::TempDir dir;
    const std::string path = dir.file("u.img");
    SyntheticImage image = SyntheticImage::flat(P + 400, 0xEE);
    image.place(P - 4, {0xDC, 0x05}).place(P, {0x2C, 0x35, 0x4A, 0x57, 1,   2,    3,
                                               4,    5,    6,    7,    8,   0x10, 0x27,
                                               0,    0xEE, 18,   0xEE, 200, 0xEE, 3});
    image.saveTo(path);
    UnitRecord record = loadUnitRecord(path, place(100));
    EXPECT_EQ(record.repairCost, "1500");
    EXPECT_EQ(record.movement, "44");
    EXPECT_EQ(record.partsSlots, ListChoice::item(3));   // "4个"
    EXPECT_EQ(record.movementType, ListChoice::item(3)); // "宇宙"
    EXPECT_EQ(record.hp, "10000");
    EXPECT_EQ(record.abilities[0], ListChoice::item(0));
    EXPECT_EQ(record.abilities[1], ListChoice::item(18));
    EXPECT_EQ(record.abilities[2], ListChoice::unlisted(200));
    saveUnitRecord(path, place(100), record);
    // Terrain nibbles 10 and 7 keep their bits: a save without edits changes nothing.
    EXPECT_EQ(test::readFile(path), image.bytes());
    record.movement = "300";
    record.movementType = ListChoice::item(9); // "水中", code 12
    record.partsSlots = ListChoice::item(0);
    saveUnitRecord(path, place(100), record);
    const std::string after = test::readFile(path);
    EXPECT_EQ(static_cast<std::uint8_t>(after[P]), 0x2C);
    // Bits 7-6 of the packed byte are no field: they keep what the image holds.
    EXPECT_EQ(static_cast<std::uint8_t>(after[P + 1]), 0x0C);
}

TEST(UnitRecordFile, UnlistedMovementKeptAndAbilitiesPastTheEndNeverWritten) {
    test::TempDir dir;
    const std::string path = dir.file("u.img");
    SyntheticImage image = SyntheticImage::flat(P + 16, 0);
    image.place(P, {9, 0xC3});
    image.saveTo(path);
    const UnitRecord record = loadUnitRecord(path, place(100));
    EXPECT_EQ(record.movementType, ListChoice::unlisted(3));
    EXPECT_TRUE(record.abilities[1].isNone());
    const auto bytes = encodeUnitRecord(record);
    EXPECT_EQ(bytes[unitLayout().indexOf(1)], 0xC3);
    // Ability 2 lies past the end: it shows no selection, and a save leaves it out.
    EXPECT_TRUE(unitSavePlan(place(100), record).empty());
}

// The thresholds and in-record stretches that the fixed lists give for the
// numbers they cover.
Position fixedListPosition(int n) {
    static const int thresholds[] = {117, 238, 358,  479,  599,  719,
                                     840, 960, 1081, 1201, 1322, 1448};
    Position position = 46381512 + 17 * static_cast<Position>(n);
    for (const int t : thresholds)
        position += n > t ? 304 : 0;
    return position;
}

int stretchAfterByte(int n) {
    switch (n) {
    case 479:
        return 0;
    case 238:
        return 1;
    case 1081:
        return 6;
    case 840:
        return 7;
    case 599:
        return 8;
    default:
        return -1;
    }
}

TEST(WeaponPosition, SectorLayoutAgreesWithTheFixedListsWhereTheyHold) {
    const std::set<int> beyondTheLists = {358, 1322, 1443, 1444, 1445, 1446, 1447, 1448, 1563};
    for (int n = 0; n <= 1563; ++n) {
        if (beyondTheLists.count(n))
            continue;
        const auto bytes = weaponBytePositions(n);
        ASSERT_EQ(weaponRecordPosition(n), fixedListPosition(n)) << n;
        for (int i = 0; i <= 10; ++i) {
            const Position expected =
                fixedListPosition(n) + i +
                (i > stretchAfterByte(n) && stretchAfterByte(n) >= 0 ? 304 : 0);
            ASSERT_EQ(bytes[static_cast<std::size_t>(i)], expected) << n << " byte " << i;
        }
    }
}

TEST(WeaponPosition, EveryByteOfEveryWeaponLiesInADataArea) {
    for (int n = 0; n < kWeaponNumberLimit; ++n) {
        for (const Position p : weaponBytePositions(n)) {
            ASSERT_GE(p % 2352, 24) << n;
            ASSERT_LT(p % 2352, 2072) << n;
        }
    }
    // Weapon 358 is split before byte 10 and weapon 1322 after byte 5.
    EXPECT_EQ(weaponBytePositions(358)[10] - weaponBytePositions(358)[9], 305);
    EXPECT_EQ(weaponBytePositions(1322)[6] - weaponBytePositions(1322)[5], 305);
    EXPECT_EQ(weaponBytePositions(1563)[5] - weaponBytePositions(1563)[4], 305);
}

TEST(WeaponRecord, FieldBytesAsStoredAndWritten) {
    const std::vector<int> stored = {0x2C, 0x01, 0xCE, 0x43, 1, 5, 0xE4, 10, 20, 30};
    WeaponRecord record = decodeWeaponRecord(stored);
    EXPECT_EQ(record.attack, "300");
    EXPECT_EQ(record.hit, "-50");
    EXPECT_EQ(record.critical, ListChoice::item(4));    // "-20"
    EXPECT_EQ(record.upgradeType, ListChoice::item(3)); // "D 型"
    // Lists air, space, land, sea: 0xE4 = land A, sea B, air C, space --.
    EXPECT_EQ(record.terrain,
              (std::array<ListChoice, 4>{ListChoice::item(2), ListChoice::item(3),
                                         ListChoice::item(0), ListChoice::item(1)}));
    EXPECT_EQ(encodeWeaponRecord(record),
              (std::vector<std::uint8_t>{0x2C, 0x01, 0xCE, 0x43, 1, 5, 0xE4, 10, 20, 30}));
    record.hit = "200";
    EXPECT_EQ(encodeWeaponRecord(record)[2], 0xC8);
    record.hit = "123456"; // only the first five characters count
    EXPECT_EQ(encodeWeaponRecord(record)[2], static_cast<std::uint8_t>(12345 & 0xFF));
    const WeaponRecord unlisted =
        decodeWeaponRecord(std::vector<int>{0, 0, 0, 0xF9, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(encodeWeaponRecord(unlisted)[3], 0xF9);
}

} // namespace
} // namespace starfall
