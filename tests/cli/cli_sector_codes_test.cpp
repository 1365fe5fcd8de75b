#include "core/patch/PatchMake.h"
#include "core/text/Messages.h"

#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;
using test::runCli;

constexpr std::int64_t kSector = 2352;
constexpr std::int64_t kTail = 2072;

// One demo for the suite (its sectors all verify); each test edits copies.
class CliSectorCodesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        const auto made = runCli({"make-demo", s_dir->dir()});
        ASSERT_EQ(made.exitCode, 0) << made.err;
    }
    static void TearDownTestSuite() { delete s_dir; }

    std::string copy(const char* name) const {
        const std::string path = m_work.file(name);
        std::filesystem::copy_file(s_dir->file("demo.img"), path);
        return path;
    }
    test::ProcessResult cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", s_dir->dir()});
        return runCli(args);
    }
    // A writing verb that succeeds and reports no stale sector.
    json save(const std::vector<std::string>& args) const {
        const auto result = cli(args);
        EXPECT_EQ(result.exitCode, 0) << args[0] << ' ' << result.err;
        EXPECT_EQ(result.err, "") << args[0];
        return result.exitCode == 0 ? json::parse(result.out) : json();
    }
    json verify(const std::string& image, int expectedExit) const {
        const auto result = cli({"sectors", "verify", image});
        EXPECT_EQ(result.exitCode, expectedExit) << result.out;
        return json::parse(result.out);
    }
    static std::int64_t sectorOfUnit(const json& unit) {
        return unit["position"].get<std::int64_t>() / kSector;
    }
    static std::string tailOf(const std::string& image, std::int64_t sector) {
        return readFile(image).substr(static_cast<std::size_t>(sector * kSector + kTail),
                                      static_cast<std::size_t>(kSector - kTail));
    }

    static inline test::TempDir* s_dir = nullptr;
    test::TempDir m_work;
};

TEST_F(CliSectorCodesTest, EveryKindOfSaveLeavesTheDemoVerified) {
    const std::string image = copy("edited.img");
    const std::string document = m_work.write(
        "mod.json", R"({"units": [{"index": 1, "hp": 1234}], "pilots": [{"index": 0, "sp": 77}]})");
    const std::vector<std::vector<std::string>> saves = {
        {"unit", "set", image, "#0", "hp=4200", "abilities.2=S2기관"},
        {"pilot", "set", image, "#0", "melee=201"},
        {"skills", "set", image, "#0", "slots.1.level=9"},
        {"weapon", "set", image, "1322", "attack=65535", "terrain.sea=A"},
        {"upgrade", "set", image, "hp.3=249"},
        {"import", image, document}};
    for (const auto& args : saves) {
        const json printed = save(args);
        EXPECT_FALSE(printed["sector_codes"]["refreshed"].empty()) << args[0];
        EXPECT_GT(printed["sector_codes"]["bytes"], 0) << args[0];
        EXPECT_EQ(printed["stale_sectors"], json::array()) << args[0];
        verify(image, 0);
    }
}

TEST_F(CliSectorCodesTest, PatchesApplyAndUndoWithValidCodes) {
    const std::string base = copy("base.img");
    const std::string modded = copy("modded.img");
    // Codes left stale in the modded image: the patch carries no code bytes.
    ASSERT_EQ(cli({"unit", "set", modded, "#2", "--keep-codes", "hp=999"}).exitCode, 0);
    const std::string stale = m_work.file("stale.ppf");
    ASSERT_EQ(cli({"patch", "make", base, modded, stale, "--keep-stale-codes"}).exitCode, 0);

    const std::string image = copy("image.img");
    const json applied = save({"patch", "apply", image, stale});
    EXPECT_EQ(applied["result"], "applied");
    EXPECT_EQ(applied["sector_codes"]["refreshed"].size(), 1u);
    verify(image, 0);
    const json undone = save({"patch", "undo", image, stale});
    EXPECT_EQ(undone["sector_codes"]["refreshed"], applied["sector_codes"]["refreshed"]);
    EXPECT_EQ(readFile(image), readFile(base));

    // A patch made from valid codes carries them: nothing more is written.
    ASSERT_EQ(cli({"sectors", "repair", modded}).exitCode, 0);
    const std::string carried = m_work.file("carried.ppf");
    ASSERT_EQ(cli({"patch", "make", base, modded, carried}).exitCode, 0);
    const json withCodes = save({"patch", "apply", image, carried});
    EXPECT_EQ(withCodes["sector_codes"], (json{{"refreshed", json::array()}, {"bytes", 0}}));
    EXPECT_EQ(readFile(image), readFile(modded));
}

TEST_F(CliSectorCodesTest, WrongCodesAreKeptAndNamed) {
    const std::string image = copy("wrong.img");
    const std::int64_t sector = sectorOfUnit(save({"unit", "get", image, "#0"}));
    {
        std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(sector * kSector + kTail);
        file.put('\x5A'); // as a disc's copy protection might
    }
    const std::string tail = tailOf(image, sector);
    const auto result = cli({"unit", "set", image, "#0", "hp=4321"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err,
              messages::staleSectorsKept(image, patch::describeSectors({sector})).text + "\n");
    const json printed = json::parse(result.out);
    EXPECT_EQ(printed["stale_sectors"], json::array({sector}));
    EXPECT_EQ(printed["sector_codes"], (json{{"refreshed", json::array()}, {"bytes", 0}}));
    EXPECT_EQ(tailOf(image, sector), tail);
    EXPECT_EQ(verify(image, 1)["mismatches"].size(), 1u);
}

TEST_F(CliSectorCodesTest, KeepCodesWritesTheRecordBytesOnly) {
    const std::string image = copy("kept.img");
    const std::string before = readFile(image);
    const auto result = cli({"unit", "set", image, "#0", "--keep-codes", "hp=4321"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const json printed = json::parse(result.out);
    const std::int64_t sector = sectorOfUnit(printed);
    EXPECT_EQ(printed["stale_sectors"], json::array({sector}));
    EXPECT_EQ(printed["sector_codes"]["bytes"], 0);
    EXPECT_EQ(tailOf(image, sector),
              before.substr(static_cast<std::size_t>(sector * kSector + kTail),
                            static_cast<std::size_t>(kSector - kTail)));
    EXPECT_EQ(verify(image, 1)["mismatches"][0]["sector"], sector);
}

} // namespace
} // namespace starfall
