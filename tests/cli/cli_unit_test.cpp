#include "core/codec/Cp949.h"
#include "core/demo/DemoBuilder.h"
#include "core/text/Messages.h"
#include "core/unit/UnitLayout.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/WeaponRecord.h"

#include "support/Process.h"
#include "support/ReadOnlyFile.h"
#include "support/SectorCodesJson.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace starfall {
namespace {

using nlohmann::json;
using test::changedPositions;
using test::readFile;
using test::withoutSectorCodes;

// changedPositions for whole demo images: equal blocks are skipped with
// memcmp, which keeps a sanitized build from crawling through 46 MB.
std::vector<Position> differences(const std::string& before, const std::string& after) {
    constexpr std::size_t kBlock = 4096;
    if (before.size() != after.size())
        return changedPositions(before, after);
    std::vector<Position> changed;
    for (std::size_t start = 0; start < before.size(); start += kBlock) {
        const std::size_t length = std::min(kBlock, before.size() - start);
        if (std::memcmp(before.data() + start, after.data() + start, length) == 0)
            continue;
        for (const Position offset :
             changedPositions(std::string_view(before).substr(start, length),
                              std::string_view(after).substr(start, length)))
            changed.push_back(static_cast<Position>(start) + offset);
    }
    return changed;
}

// The demo is written once (46 MB); each test works on its own copy of the
// image and reads the list files from the demo folder.
class CliUnitTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_demo = new test::TempDir;
        demo::writeDemo(s_demo->dir());
        s_original = new std::string(readFile(s_demo->file(demo::kDemoImageName)));
    }
    static void TearDownTestSuite() {
        delete s_original;
        delete s_demo;
    }
    void SetUp() override {
        std::filesystem::copy_file(s_demo->file(demo::kDemoImageName), m_path);
    }

    test::ProcessResult cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", s_demo->dir()});
        return test::runCli(args);
    }
    json ok(std::vector<std::string> args) const {
        const auto result = cli(std::move(args));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.exitCode == 0 ? json::parse(result.out) : json();
    }
    // Whole-image comparison; a mismatch prints positions, not 46 MB.
    std::vector<Position> changed() const { return differences(*s_original, readFile(m_path)); }
    void expectChangesWithin(std::vector<Position> allowed) const {
        std::sort(allowed.begin(), allowed.end());
        for (const Position position : changed())
            EXPECT_TRUE(std::binary_search(allowed.begin(), allowed.end(), position)) << position;
    }
    std::uint8_t at(Position position) const {
        std::ifstream in(m_path, std::ios::binary);
        in.seekg(position);
        return static_cast<std::uint8_t>(in.get());
    }
    static UnitPlace placeOf(const json& unit) {
        return {unit["address"].get<std::int32_t>(), unit["position"].get<Position>(),
                cp949::fromUtf8(unit["name"].get<std::string>())};
    }

    static inline test::TempDir* s_demo = nullptr;
    static inline std::string* s_original = nullptr;
    test::TempDir m_dir;
    std::string m_path = m_dir.file("demo.img");
};

TEST_F(CliUnitTest, UnitSetWritesOnlyTheRecordAndPrintsItAsReadBack) {
    const json printed =
        ok({"unit", "set", m_path, "스타폴 1호기", "--keep-codes", "--as-typed", "movement=300",
            "hp=10000", "armor=70000", "parts_slots=1个", "movement_type=水中", "terrain.sea=--",
            "ability2=S2기관", "repair_cost=abc"});
    EXPECT_EQ(withoutSectorCodes(printed), ok({"unit", "get", m_path, "#0"}));
    EXPECT_EQ(printed["movement"], 44); // 300 cut to 8 bits
    EXPECT_EQ(printed["hp"], 10000);
    EXPECT_EQ(printed["armor"], 4464); // 70000 cut to 16 bits
    EXPECT_EQ(printed["parts_slots"], "1个");
    EXPECT_EQ(printed["movement_type"], "水中");
    EXPECT_EQ(printed["terrain"],
              (json{{"air", "A"}, {"space", "B"}, {"land", "B"}, {"sea", "--"}}));
    EXPECT_EQ(printed["abilities"], (json{"빔코트", "S2기관", "없음", "없음"}));
    EXPECT_EQ(printed["repair_cost"], 0); // text that is no number
    const UnitPlace place = placeOf(printed);
    expectChangesWithin(unitRecordPositions(place));
    EXPECT_EQ(at(place.position + 1), 0x0C);
}

TEST_F(CliUnitTest, UnitSetOfASplitRecordStepsOverItsGap) {
    const json printed = ok({"unit", "set", m_path, "단쿠가", "--keep-codes", "limit=7", "hp=1"});
    EXPECT_EQ(printed["limit"], 7);
    EXPECT_EQ(printed["hp"], 1);
    const Position p = printed["position"];
    expectChangesWithin(unitRecordPositions(placeOf(printed)));
    EXPECT_EQ(at(p + 312), 7);
    EXPECT_EQ(changed().size(), 4u); // limit and HP, two bytes each
}

TEST_F(CliUnitTest, WeaponSetWritesTheTenEditedBytesAcrossTheFraming) {
    // Weapon 1322's record runs over the end of a sector's data area.
    const json printed =
        ok({"weapon", "set", m_path, "1322", "--keep-codes", "--as-typed", "attack=65535", "hit=-5",
            "critical=-20", "upgrade_type=D 型", "range_near=2", "range_far=300", "terrain.air=--",
            "terrain.sea=A", "ammo=3", "en=70", "morale=150"});
    EXPECT_EQ(withoutSectorCodes(printed), ok({"weapon", "get", m_path, "1322"}));
    const json expected = {
        {"number", 1322},
        {"position", weaponRecordPosition(1322)},
        {"attack", 65535},
        {"hit", -5},
        {"critical", "-20"},
        {"upgrade_type", "D 型"},
        {"range_near", 2},
        {"range_far", 44},
        {"terrain", {{"air", "--"}, {"space", "A"}, {"land", "--"}, {"sea", "A"}}},
        {"ammo", 3},
        {"en", 70},
        {"morale", 150}};
    EXPECT_EQ(withoutSectorCodes(printed), expected);
    expectChangesWithin(weaponSavePositions(1322));
}

TEST_F(CliUnitTest, UpgradeSetTakesStagesAndWholeRows) {
    const json printed = ok({"upgrade", "set", m_path, "--keep-codes", "--as-typed", "hp.1=65535",
                             "limit.10=70000", "type_d=1,2,3,4,5,6,7,8,9,x"});
    EXPECT_EQ(withoutSectorCodes(printed), ok({"upgrade", "get", m_path}));
    EXPECT_EQ(printed["hp"][0], 65535);
    EXPECT_EQ(printed["hp"][1], 200);
    EXPECT_EQ(printed["limit"][9], 4464);
    EXPECT_EQ(printed["type_d"], (json{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    expectChangesWithin(upgradeTablePositions());
}

TEST_F(CliUnitTest, UsageErrorsExitTwoAndLeaveTheImageAsItWas) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string& img = m_path;
    const Case cases[] = {
        {{"unit", "set", img, "#0", "hp=1", "bogus=1"}, "unknown key 'bogus'"},
        {{"unit", "set", img, "#0", "ability5=없음"}, "unknown key 'ability5'"},
        {{"unit", "set", img, "#0", "ability0=없음"}, "unknown key 'ability0'"},
        {{"unit", "set", img, "#0", "ability1=마징가"},
         "'abilities.1' takes an item's exact text or a stored code from 0 to 255, not '마징가'"},
        {{"unit", "set", img, "#0", "terrain.air=E"},
         "'terrain.air' takes an item's exact text or a stored code from 0 to 15, not 'E'"},
        {{"unit", "set", img, "#0", "movement_type=16"},
         "'movement_type' takes an item's exact text or a stored code from 0 to 15, not 16"},
        {{"unit", "set", img, "#0", "hp=70000"},
         "'hp' takes a whole number from 0 to 65535, not 70000"},
        {{"unit", "set", img, "#0", "hp=1", "hp=2"}, "the field 'hp' is given twice"},
        {{"unit", "set", img, "#0", "ability2=없음", "abilities.2=없음"},
         "the field 'abilities.2' is given twice"},
        {{"unit", "set", img, "#0", "position=5"},
         "key 'position' is not stored in the record and cannot be set"},
        {{"unit", "set", img, "#99", "hp=1"}, "no list entry #99"},
        {{"unit", "set", img, "#0"}, "nothing to set: give KEY=VALUE pairs"},
        {{"weapon", "set", img, "1322", "attack=1", "terrain.air=D"},
         "'terrain.air' takes an item's exact text or a stored code from 0 to 3, not 'D'"},
        {{"weapon", "set", img, "1322", "critical=30"},
         "'critical' takes an item's exact text or a stored code from 0 to 15, not 30"},
        {{"weapon", "set", img, "1322", "hit=128"},
         "'hit' takes a whole number from -128 to 127, not 128"},
        {{"weapon", "set", img, "1322", "number=5"},
         "key 'number' is not stored in the record and cannot be set"},
        {{"weapon", "set", img, "1322", "weight=5"}, "unknown key 'weight'"},
        {{"upgrade", "set", img, "hp.11=5"}, "unknown key 'hp.11'"},
        {{"upgrade", "set", img, "hp.=5"}, "unknown key 'hp.'"},
        {{"upgrade", "set", img, "speed.1=5"}, "unknown key 'speed.1'"},
        {{"upgrade", "set", img, "en.1=5", "hp=1,2,3"},
         "key 'hp': give 10 comma-separated values, one per stage, not 3"},
        {{"upgrade", "set", img, "hp.1=5", "hp.1=6"}, "the field 'hp.1' is given twice"},
        {{"upgrade", "set", img, "hp=1,2,3,4,5,6,7,8,9,10", "hp.3=5"},
         "the field 'hp.3' is given twice"},
        {{"upgrade", "set", img, "hp.01=5"}, "unknown key 'hp.01'"},
    };
    for (const Case& c : cases) {
        const auto result = cli(c.args);
        EXPECT_EQ(result.exitCode, 2) << c.message;
        EXPECT_EQ(result.err, "starfall-cli: " + c.message + "\n");
        EXPECT_TRUE(result.out.empty()) << c.message;
    }
    EXPECT_EQ(cli({"weapon", "set", img, "2048", "attack=1"}).exitCode, 2);
    EXPECT_TRUE(changed().empty());
}

TEST_F(CliUnitTest, AReadOnlyImageIsNamedAsUnwritableWithStatusOne) {
    test::ReadOnlyFile readOnly(m_path);
    if (!readOnly.effective())
        GTEST_SKIP() << "this file system cannot make the file unwritable";
    const std::vector<std::vector<std::string>> commands = {
        {"unit", "set", m_path, "#0", "hp=1"},
        {"weapon", "set", m_path, "1322", "attack=1"},
        {"upgrade", "set", m_path, "hp.1=1"}};
    for (const auto& args : commands) {
        const auto result = cli(args);
        EXPECT_EQ(result.exitCode, 1) << args[0];
        // The image opened; it only cannot be written, and the message says so.
        EXPECT_EQ(result.err,
                  messages::imageNotWritable(m_path, readOnly.reason()).text + "\n");
        EXPECT_TRUE(result.out.empty());
    }
    EXPECT_TRUE(changed().empty());
}

} // namespace
} // namespace starfall
