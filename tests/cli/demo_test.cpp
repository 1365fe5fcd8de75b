#include "cli/ImageRecords.h"
#include "core/demo/DemoBuilder.h"

#include "core/weapon/WeaponRecord.h"
#include "core/upgrade/UpgradeTable.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;

// One demo for the whole suite: it is 46 MB.
class DemoTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        demo::writeDemo(s_dir->dir());
        s_image = new std::string(readFile(s_dir->file(demo::kDemoImageName)));
        const std::string image = s_dir->file(demo::kDemoImageName);
        s_export = new json(cli::loadImageRecords(image, s_dir->dir()).json());
    }
    static void TearDownTestSuite() {
        delete s_export;
        delete s_image;
        delete s_dir;
    }
    static const json& named(const char* section, const char* name) {
        const json& entries = (*s_export)[section];
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const json& entry) { return entry["name"] == name; });
        EXPECT_NE(found, entries.end()) << name;
        return *found;
    }
    static std::uint8_t at(std::size_t position) {
        return static_cast<std::uint8_t>((*s_image)[position]);
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline std::string* s_image = nullptr;
    static inline json* s_export = nullptr;
};

TEST_F(DemoTest, IsWholeMode2Form1SectorsReachingPastTheUpgradeTable) {
    ASSERT_EQ(s_image->size() % 2352, 0u);
    EXPECT_GT(s_image->size(), 46414847u);
    const std::string sync = std::string(1, '\0') + std::string(10, '\xFF') + std::string(1, '\0');
    for (std::size_t sector = 0; sector < s_image->size(); sector += 2352) {
        ASSERT_EQ(s_image->compare(sector, 12, sync), 0) << sector;
        ASSERT_EQ(at(sector + 15), 2) << sector;        // mode 2
        ASSERT_EQ(at(sector + 18) & 0x20, 0) << sector; // Form 1
        ASSERT_EQ(s_image->compare(sector + 16, 4, *s_image, sector + 20, 4), 0);
    }
    // Sector 0 sits two seconds into the disc: 00:02:00.
    EXPECT_EQ(at(12), 0x00);
    EXPECT_EQ(at(13), 0x02);
    EXPECT_EQ(at(14), 0x00);
}

TEST_F(DemoTest, EveryListEntryLoadsAndTheSplitPilotsReadAcrossTheirGaps) {
    EXPECT_EQ((*s_export)["pilots"].size(), 19u);
    // Hit split across the framing: low byte before it, high byte after.
    EXPECT_EQ(named("pilots", "경비대장")["hit"], 4660);
    EXPECT_EQ(named("pilots", "경비대장")["kind"], "StatsOnly");
    // Personality bytes in the previous sector's data area.
    EXPECT_EQ(named("pilots", "아렌 크로스")["personality"], "普通");
    EXPECT_EQ(named("pilots", "교관 하르트")["personality"], "普通");
    EXPECT_EQ(named("pilots", "지원 인공지능")["kind"], "SpiritsOnly");
}

TEST_F(DemoTest, SkillTablesShowTheirSpecialCases) {
    // Stats-only pilots open no table; the others all do.
    EXPECT_EQ((*s_export)["skills"].size(), 15u);
    const json& duo = named("skills", "듀오");
    ASSERT_EQ(duo["slots"].size(), 7u);
    EXPECT_EQ(duo["slots"][4], (json{{"skill", "强化人间 Lv5"}, {"level", 32}, {"locked", false}}));
    EXPECT_EQ(duo["slots"][5]["skill"], "强化人间 Lv6");
    EXPECT_TRUE(named("skills", "레즌")["slots"][0]["locked"]);
    EXPECT_TRUE(named("skills", "하늘도몬")["slots"][7]["locked"]);
    EXPECT_EQ(named("skills", "미나 로크")["slots"].size(), 19u);
    const json& protagonist = named("skills", "주인공 특기(리얼)");
    EXPECT_EQ(protagonist["position"],
              named("pilots", "주인공 특기(리얼)")["position"].get<int>() + 12);
    EXPECT_EQ(protagonist["slots"].size(), 3u);
}

TEST_F(DemoTest, SplitUnitsAndTheirWeaponListsReadBackAsBuilt) {
    ASSERT_EQ((*s_export)["units"].size(), 15u);
    struct Row {
        const char* name;
        int hp;
        const char* firstAbility;
    };
    const Row rows[] = {{"단쿠가", 4100, "게타비젼"},  {"시리우스", 3900, "빔코트"},
                        {"카시오페아", 4000, "I필드"}, {"베가 커맨더", 4800, "없음"},
                        {"알타이르", 3600, "S2기관"},  {"데네브", 3700, "변형"}};
    for (const Row& row : rows) {
        EXPECT_EQ(named("units", row.name)["hp"], row.hp) << row.name;
        EXPECT_EQ(named("units", row.name)["abilities"][0], row.firstAbility) << row.name;
    }
    // Every weapon some unit lists, once: the stored third weapon of "디오"
    // is replaced by 1203, and the split lists yield their stored numbers.
    std::vector<int> numbers;
    for (const json& weapon : (*s_export)["weapons"])
        numbers.push_back(weapon["number"]);
    EXPECT_EQ(numbers, (std::vector<int>{0, 117, 118, 238, 358, 479, 599, 840, 1081, 1203, 1285,
                                         1322, 1443, 1448, 1563, 1564, 1600, 1610}));
    const json& split = *std::find_if((*s_export)["weapons"].begin(), (*s_export)["weapons"].end(),
                                      [](const json& weapon) { return weapon["number"] == 1322; });
    EXPECT_EQ(split["attack"], 5200);
    EXPECT_EQ(split["morale"], 125);
}

TEST_F(DemoTest, EveryRecordItListsLiesInsideTheImage) {
    // So that a save of any of them, changed or not, never needs to grow it.
    for (const char* section : {"units", "pilots", "skills", "weapons"}) {
        for (const json& record : (*s_export)[section]) {
            for (const auto& [key, value] : record.items()) {
                // A byte past the end reads -1 (a weapon's signed hit may be -1 itself).
                if (value.is_number_integer() && key != "hit") {
                    EXPECT_NE(value, -1) << section << " " << record.dump() << " " << key;
                }
            }
        }
    }
    const auto last = (*s_export)["weapons"].back()["number"].get<int>();
    for (const Position p : weaponBytePositions(last))
        EXPECT_LT(static_cast<std::size_t>(p), s_image->size());
    for (const Position p : upgradeTablePositions())
        EXPECT_LT(static_cast<std::size_t>(p), s_image->size());
}

TEST_F(DemoTest, HoldsTheUpgradeTableAndLeavesTheBytesBetweenItsRowsZero) {
    const UpgradeTable table = loadUpgradeTable(s_dir->file(demo::kDemoImageName));
    EXPECT_EQ(table.values[0][0], "200"); // HP, stage 1
    EXPECT_EQ(table.values[8][9], "220"); // type D, stage 10
    for (std::size_t p = 0x2C43B4C; p <= 0x2C43BAF; ++p)
        ASSERT_EQ(at(p), 0) << p;
}

} // namespace
} // namespace starfall
