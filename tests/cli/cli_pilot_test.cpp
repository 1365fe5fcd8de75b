#include "core/codec/Cp949.h"
#include "core/text/Messages.h"

#include "support/Process.h"
#include "support/SectorCodesJson.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace starfall {
namespace {

using nlohmann::json;
using test::changedPositions;
using test::readFile;
using test::runCli;
using test::SyntheticImage;
using test::withoutSectorCodes;

// charlist.ini with base 1000: a Full pilot at P = 1100 with a three-slot
// skill table at P + 26, a StatsOnly pilot, a SpiritsOnly pilot, "레즌" and a
// protagonist entry sharing the first record, and one record past the end.
class CliPilotTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir.write("charlist.ini", cp949::fromUtf8("; pilots\nCHAR 1000\n아무로, 100\n"
                                                    "스탯, 2786\n정신, 15188\n레즌, 100\n"
                                                    "주인공 특기(리얼), 100\n끝, 5000\n"));
        m_image =
            SyntheticImage::flat(4000, 0xEE)
                .place(1094, {0xD7})
                .place(1100, {0x43, 0x21, 150, 255, 0x34, 0x12, 0xFF, 0xFF, 0, 0,  1, 0,   0xE8,
                              0x03, 1,    5,   30,  99,   0,    7,    31,   8, 16, 0, 255, 1})
                .place(1126, {33, 1, 79, 20, 200, 3, 0});
        m_image.saveTo(m_path);
    }
    test::ProcessResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--dir", m_dir.dir()});
        return runCli(args);
    }
    json ok(std::vector<std::string> args) {
        const auto result = cli(std::move(args));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.exitCode == 0 ? json::parse(result.out) : json();
    }
    void expectUsageErrorWritingNothing(std::vector<std::string> args, std::string_view message) {
        const auto result = cli(args);
        EXPECT_EQ(result.exitCode, 2) << args.back();
        EXPECT_EQ(result.err, "starfall-cli: " + std::string(message) + "\n");
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(readFile(m_path), m_image.bytes());
    }

    test::TempDir m_dir;
    std::string m_path = m_dir.file("pilots.img");
    SyntheticImage m_image = SyntheticImage::flat(1);
};

TEST_F(CliPilotTest, GetPrintsEveryFieldOfAFullRecord) {
    const json expected = {{"name", "아무로"},
                           {"index", 0},
                           {"address", 100},
                           {"position", 1100},
                           {"kind", "Full"},
                           {"terrain", {{"air", "A"}, {"space", "B"}, {"land", "C"}, {"sea", "D"}}},
                           {"melee", 150},
                           {"shooting", 255},
                           {"hit", 4660},
                           {"evasion", 65535},
                           {"sp", 0},
                           {"skill", 1},
                           {"reaction", 1000},
                           {"personality", "普通"},
                           {"spirits",
                            {{{"command", "根性"}, {"level", 5}},
                             {{"command", "侦察"}, {"level", 99}},
                             {{"command", 0}, {"level", 7}},
                             {{"command", 31}, {"level", 8}},
                             {{"command", "激励"}, {"level", 0}},
                             {{"command", 255}, {"level", 1}}}}};
    EXPECT_EQ(ok({"pilot", "get", m_path, "아무로"}), expected);
}

TEST_F(CliPilotTest, KindsShowOnlyTheirBlocksAndBytesPastTheEndAreMinusOne) {
    const json statsOnly = ok({"pilot", "get", m_path, "#1"});
    EXPECT_EQ(statsOnly["kind"], "StatsOnly");
    EXPECT_FALSE(statsOnly.contains("spirits"));
    EXPECT_TRUE(statsOnly.contains("personality"));
    const json spiritsOnly = ok({"pilot", "get", m_path, "정신"});
    EXPECT_EQ(spiritsOnly["kind"], "SpiritsOnly");
    EXPECT_FALSE(spiritsOnly.contains("terrain"));
    EXPECT_FALSE(spiritsOnly.contains("personality"));
    EXPECT_EQ(spiritsOnly["spirits"].size(), 6u);
    const json beyond = ok({"pilot", "get", m_path, "끝"});
    EXPECT_EQ(beyond["melee"], -1);
    EXPECT_EQ(beyond["hit"], 65535);
    EXPECT_EQ(beyond["terrain"]["air"], "--");
    EXPECT_EQ(beyond["personality"], "超强气");
    EXPECT_EQ(beyond["spirits"][0], (json{{"command", nullptr}, {"level", -1}}));
}

TEST_F(CliPilotTest, SetWritesTheRecordAndPrintsItAsReadBack) {
    const json printed =
        ok({"pilot", "set", m_path, "#0", "--as-typed", "melee=256", "hit=70000", "terrain.sea=--",
            "spirit2.command=爱", "spirit6.level=300", "personality=超强气"});
    EXPECT_EQ(withoutSectorCodes(printed), ok({"pilot", "get", m_path, "#0"}));
    // A flat image has no sector codes: the record bytes are all it gets.
    EXPECT_EQ(printed["sector_codes"], (json{{"refreshed", json::array()}, {"bytes", 0}}));
    EXPECT_EQ(printed["stale_sectors"], json::array());
    EXPECT_EQ(printed["melee"], 0);
    EXPECT_EQ(printed["hit"], 4464); // 70000 cut to 16 bits
    EXPECT_EQ(printed["personality"], "超强气");
    // Only the fields named change; spirit codes 0, 31 and 255 keep their bytes.
    const std::string after = readFile(m_path);
    EXPECT_EQ(changedPositions(m_image.bytes(), after),
              (std::vector<Position>{1094, 1101, 1102, 1104, 1105, 1116, 1125}));
    EXPECT_EQ(static_cast<unsigned char>(after[1094]), 0xF7);
    EXPECT_EQ(static_cast<unsigned char>(after[1101]), 0x20);
    EXPECT_EQ(static_cast<unsigned char>(after[1116]), 7);
    EXPECT_EQ(static_cast<unsigned char>(after[1125]), 44);
}

TEST_F(CliPilotTest, PilotUsageErrorsExitTwoAndWriteNothing) {
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#0", "melee=1", "bogus=1"},
                                   "unknown key 'bogus'");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#0", "spirit7.level=1"},
                                   "unknown key 'spirit7.level'");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#0", "terrain.air=E"},
                                   "'terrain.air' takes an item's exact text or a stored code from "
                                   "0 to 15, not 'E'");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#0", "melee=256"},
                                   "'melee' takes a whole number from 0 to 255, not 256");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#0", "hit=12ab"},
                                   "'hit' takes a whole number from 0 to 65535, not '12ab'");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#1", "spirit1.level=3"},
                                   "a StatsOnly pilot record has no 'spirits.1.level'");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#2", "personality=普通"},
                                   "a SpiritsOnly pilot record has no 'personality'");
    expectUsageErrorWritingNothing(
        {"pilot", "set", m_path, "#0", "spirit1.level=3", "spirits.1.level=4"},
        "the field 'spirits.1.level' is given twice");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#9", "melee=1"}, "no list entry #9");
    expectUsageErrorWritingNothing({"pilot", "set", m_path, "#0"},
                                   "nothing to set: give KEY=VALUE pairs");
    EXPECT_EQ(cli({"pilot", "get", m_path}).exitCode, 2);
}

TEST_F(CliPilotTest, SkillsGetShowsSlotsLocksAndStoredCodes) {
    const json expected = {{"name", "레즌"},
                           {"index", 3},
                           {"position", 1126},
                           {"slots",
                            {{{"skill", "NT Lv1"}, {"level", 1}, {"locked", true}},
                             {{"skill", "明镜止水"}, {"level", 20}, {"locked", false}},
                             {{"skill", 200}, {"level", 3}, {"locked", false}}}}};
    EXPECT_EQ(ok({"skills", "get", m_path, "레즌"}), expected);
    // The protagonist entry opens its table at P + 12, inside the record,
    // and reads up to the first zero code there (P + 18).
    const json protagonist = ok({"skills", "get", m_path, "#4"});
    EXPECT_EQ(protagonist["position"], 1112);
    EXPECT_EQ(protagonist["slots"], (json{{{"skill", 232}, {"level", 3}, {"locked", false}},
                                          {{"skill", 1}, {"level", 5}, {"locked", false}},
                                          {{"skill", 30}, {"level", 99}, {"locked", false}}}));
}

TEST_F(CliPilotTest, SkillsSetWritesOnlyTheNamedTableAndPrintsIt) {
    const json printed =
        ok({"skills", "set", m_path, "#0", "--as-typed", "1.skill=GUT2", "slots.3.level=300"});
    EXPECT_EQ(withoutSectorCodes(printed), ok({"skills", "get", m_path, "#0"}));
    EXPECT_EQ(printed["slots"][0]["skill"], "GUT2");
    EXPECT_EQ(printed["slots"][2], (json{{"skill", 200}, {"level", 44}, {"locked", false}}));
    EXPECT_EQ(changedPositions(m_image.bytes(), readFile(m_path)),
              (std::vector<Position>{1126, 1131}));
}

TEST_F(CliPilotTest, SkillsUsageErrorsExitTwoAndWriteNothing) {
    expectUsageErrorWritingNothing({"skills", "set", m_path, "레즌", "1.level=3"},
                                   "'slots.1.level': slot 1 is locked");
    expectUsageErrorWritingNothing({"skills", "set", m_path, "#0", "slots.4.level=3"},
                                   "'slots.4.level': the table has 3 slots");
    expectUsageErrorWritingNothing({"skills", "set", m_path, "#0", "0.level=3"},
                                   "unknown key '0.level'");
    expectUsageErrorWritingNothing({"skills", "set", m_path, "#0", "1.code=3"},
                                   "unknown key '1.code'");
    expectUsageErrorWritingNothing({"skills", "set", m_path, "#0", "1.skill=NT Lv10"},
                                   "'slots.1.skill' takes an item's exact text or a stored code "
                                   "from 0 to 255, not 'NT Lv10'");
    expectUsageErrorWritingNothing(
        {"skills", "get", m_path, "스탯"},
        "pilot '스탯' is StatsOnly: the editor opens no skill table for it");
}

TEST_F(CliPilotTest, AMissingImageIsTheOpenFailureWithStatusOne) {
    const auto result = cli({"pilot", "get", m_dir.file("none.img"), "#0"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, messages::fileOpenFailure(m_dir.file("none.img")).text + "\n");
}

} // namespace
} // namespace starfall
