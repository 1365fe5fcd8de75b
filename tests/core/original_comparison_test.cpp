// An image against its untouched original: the records named as `diff
// --text` names them, the units marked for a weapon they list, the bytes no
// record holds, and a stop asked for part-way.

#include "core/codec/Cp949.h"
#include "core/compare/OriginalComparison.h"
#include "core/demo/DemoBuilder.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/lists/NameListReader.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/unit/UnitRecordFile.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponRecord.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace starfall {
namespace {

class OriginalComparisonTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo::writeDemo(m_dir.path().string());
        m_image = m_dir.file("demo.img");
        m_original = m_dir.file("original.img");
        std::filesystem::copy_file(m_image, m_original);
        const std::string lists = m_dir.path().string() + "/";
        m_units = loadNameList(lists, ListKind::Units);
        m_pilots = loadNameList(lists, ListKind::Pilots);
    }
    [[nodiscard]] OriginalComparison compare(const WorkProgress& progress = {}) const {
        return compareWithOriginal(m_original, m_image, m_units, m_pilots, progress);
    }

    test::TempDir m_dir;
    std::string m_image;
    std::string m_original;
    NameList m_units;
    NameList m_pilots;
};

TEST_F(OriginalComparisonTest, ChangedRecordsAreNamedAndMarked) {
    const UnitPlace unit = UnitPlace::fromList(m_units, 1);
    UnitRecord record = loadUnitRecord(m_image, unit);
    const std::string hp = record.hp;
    record.hp = "4321";
    (void)saveUnitRecord(m_image, unit, record);
    const PilotReference pilot = PilotReference::fromList(m_pilots, 0);
    PilotRecord stats = loadPilotRecord(m_image, pilot);
    const std::string melee = stats.stats.melee;
    stats.stats.melee = "201";
    (void)savePilotRecord(m_image, pilot, stats);
    // A weapon of unit 0's list marks unit 0.
    const NameListEntry& first = m_units.entries[0];
    const int weapon = loadNamedWeaponList(m_image, first.name, first.addressText,
                                           unitWeaponListStart(m_units.positionOf(first)), {})
                           .at(0)
                           .number;
    WeaponRecord arms = loadWeaponRecord(m_image, weapon);
    arms.attack = "1999";
    (void)saveWeaponRecord(m_image, weapon, arms);
    // And a byte in no record, in a sector's data.
    writeRuns(m_image, std::vector<ByteRun>{{2352 * 100 + 100, {0x5A}}}, "test",
              FramingRule::Allow, CodeRule::Keep);

    const OriginalComparison found = compare();
    const std::vector<std::string> lines = found.textLines();
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0], "units #1 " + cp949::toUtf8(unit.name) + ": hp " + hp + " -> 4321");
    EXPECT_EQ(lines[1], "pilots #0 " + cp949::toUtf8(pilot.name) + ": melee " + melee + " -> 201");
    EXPECT_TRUE(lines[2].starts_with("weapons " + std::to_string(weapon) + ": attack ")) << lines[2];
    // The saves refreshed their sectors' codes; those count apart.
    EXPECT_TRUE(lines[3].starts_with("other bytes: 1 in 1 ranges; sector codes: ")) << lines[3];
    EXPECT_GT(found.sectorCodeBytes, 0);
    EXPECT_TRUE(found.unitChanged[0]);
    EXPECT_TRUE(found.unitChanged[1]);
    EXPECT_FALSE(found.unitChanged[2]);
    EXPECT_TRUE(found.pilotChanged[0]);
    EXPECT_FALSE(found.upgradeChanged);
    ASSERT_NE(found.find("units", 1), nullptr);
    EXPECT_EQ(found.find("units", 1)->fields[0].before, hp);
    EXPECT_EQ(found.find("units", 2), nullptr);
}

TEST_F(OriginalComparisonTest, AStopAskedForPartWayEndsTheWalk) {
    int reports = 0;
    const WorkProgress stopAtSecond([&reports](std::int64_t done, std::int64_t total) {
        EXPECT_LE(done, total);
        return ++reports < 2;
    });
    EXPECT_THROW((void)compare(stopAtSecond), WorkCancelled);
    EXPECT_EQ(reports, 2);

    std::filesystem::resize_file(m_original, 2352 * 4);
    try {
        (void)compare();
        ADD_FAILURE() << "compared images of two sizes";
    } catch (const CoreError& error) {
        EXPECT_EQ(error.failure(), Failure::ImageSizesDiffer);
    }
}

} // namespace
} // namespace starfall
