// A field the user did not change keeps its bytes: for every record kind, a
// load followed by a save without edits changes no byte of an image of random
// bytes, and an edit of one field changes only that field's bits.

#include "core/codec/Cp949.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitLayout.h"
#include "core/unit/UnitRecordFile.h"
#include "core/weapon/WeaponRecord.h"
#include "core/upgrade/UpgradeTable.h"

#include "support/SparseImage.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace starfall {
namespace {

using test::readFile;

constexpr int kRounds = 40;
constexpr Position kImageBytes = 40000;

std::vector<std::uint8_t> randomBytes(std::size_t count, std::mt19937& random) {
    std::vector<std::uint8_t> out(count);
    for (auto& byte : out)
        byte = static_cast<std::uint8_t>(random());
    return out;
}

// 40 KB of random bytes, where the pilot and unit records of these tests lie.
std::string randomImage(const std::string& path, std::mt19937& random) {
    const auto bytes = randomBytes(kImageBytes, random);
    test::SyntheticImage::flat(kImageBytes)
        .place(0, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))
        .saveTo(path);
    return readFile(path);
}

// A sparse image as long as a real one, random over the weapon table's
// start and the upgrade table; returns those two stretches.
constexpr std::size_t kWeaponStretch = 20000;
constexpr std::size_t kUpgradeStretch = 400;
std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>
randomTables(const std::string& path, std::mt19937& random) {
    auto weapons = randomBytes(kWeaponStretch, random);
    auto upgrade = randomBytes(kUpgradeStretch, random);
    test::writeSparseImage(
        path, 46420000, {{weaponRecordPosition(0), weapons}, {kUpgradeRows[4].position, upgrade}});
    return {std::move(weapons), std::move(upgrade)};
}

class UnchangedFieldsTest : public ::testing::Test {
protected:
    // Runs `loadAndSave` on `kRounds` random images; each must come out as it went in.
    template <typename Action> void expectNoByteChanges(Action loadAndSave) {
        for (int round = 0; round < kRounds; ++round) {
            const std::string before = randomImage(m_path, m_random);
            loadAndSave();
            ASSERT_EQ(readFile(m_path), before) << "round " << round;
        }
    }
    test::TempDir m_dir;
    std::string m_path = m_dir.file("random.img");
    std::mt19937 m_random{20261208};
};

TEST_F(UnchangedFieldsTest, PilotsOfEveryKindAndTheProtagonistsSharedBytes) {
    const std::string protagonist = cp949::fromUtf8("주인공 특기(리얼)");
    for (const PilotReference& reference :
         {PilotReference{100, 1100, "a"}, PilotReference{2786, 5000, "b"},
          PilotReference{15188, 9000, "c"}, PilotReference{100, 20000, protagonist}}) {
        expectNoByteChanges([&] {
            PilotRecord record = loadPilotRecord(m_path, reference);
            savePilotRecord(m_path, reference, record);
            SkillTable table = loadSkillTable(
                m_path, reference.name, skillTablePosition(reference.name, reference.position));
            saveSkillTable(m_path, table);
        });
    }
}

TEST_F(UnchangedFieldsTest, Units) {
    expectNoByteChanges([&] {
        for (const std::int32_t address : {100, 6208, 10922, 13268}) {
            const UnitPlace place{address, 1000 + address, "u"};
            UnitRecord record = loadUnitRecord(m_path, place);
            saveUnitRecord(m_path, place, record);
        }
    });
}

TEST_F(UnchangedFieldsTest, WeaponsAcrossTheFramingAndTheUpgradeTable) {
    for (int round = 0; round < kRounds / 4; ++round) {
        const auto [weapons, upgrade] = randomTables(m_path, m_random);
        for (const int number : {0, 117, 118, 1000}) {
            WeaponRecord record = loadWeaponRecord(m_path, number);
            saveWeaponRecord(m_path, number, record);
        }
        UpgradeTable table = loadUpgradeTable(m_path);
        saveUpgradeTable(m_path, table);
        ASSERT_EQ(test::readFileRange(m_path, weaponRecordPosition(0), kWeaponStretch), weapons);
        ASSERT_EQ(test::readFileRange(m_path, kUpgradeRows[4].position, kUpgradeStretch), upgrade);
    }
}

TEST_F(UnchangedFieldsTest, AnEditChangesOnlyItsOwnBitsAndCanBeTakenBack) {
    const UnitPlace place{100, 1100, "u"};
    for (int round = 0; round < kRounds; ++round) {
        const std::string before = randomImage(m_path, m_random);
        UnitRecord record = loadUnitRecord(m_path, place);
        const UnitRecord original = record;
        record.terrain[1] = ListChoice::item(0); // space "A": the low nibble of P + 2
        record.hp = "4200";                      // P + 12 and P + 13
        saveUnitRecord(m_path, place, record);
        const std::string after = readFile(m_path);
        for (const Position p : test::changedPositions(before, after))
            EXPECT_TRUE(p == 1102 || p == 1112 || p == 1113) << p;
        EXPECT_EQ(after[1102] & 0xF0, before[1102] & 0xF0) << round;
        EXPECT_EQ(after[1102] & 0x0F, 4) << round;
        // The record now counts as read from what it wrote, so putting the
        // old values back writes them back.
        record.terrain[1] = ListChoice::unlisted(before[1102] & 0x0F);
        record.hp = original.hp;
        saveUnitRecord(m_path, place, record);
        EXPECT_EQ(readFile(m_path), before) << round;
    }
}

} // namespace
} // namespace starfall
