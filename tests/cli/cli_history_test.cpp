// The history of saves through the command line: every kind of save undone
// and redone byte for byte, refusals that write nothing, a damaged history,
// and a patch made from the history alone.
#include "core/io/SaveHistory.h"
#include "core/text/Messages.h"

#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;
using test::runCliHere;

class CliHistoryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        ASSERT_EQ(runCliHere({"make-demo", s_dir->dir()}).exitCode, 0);
    }
    static void TearDownTestSuite() { delete s_dir; }

    std::string copy(const char* name) const {
        const std::string path = m_work.file(name);
        std::filesystem::copy_file(s_dir->file("demo.img"), path);
        return path;
    }
    test::ProcessResult cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", s_dir->dir()});
        return runCliHere(args);
    }
    void ok(const std::vector<std::string>& args) const {
        const auto result = cli(args);
        EXPECT_EQ(result.exitCode, 0) << args[0] << ' ' << args[1] << ": " << result.err;
    }
    json history(const std::string& image) const {
        const auto result = cli({"history", image});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.exitCode == 0 ? json::parse(result.out) : json();
    }

    static inline test::TempDir* s_dir = nullptr;
    test::TempDir m_work;
};

TEST_F(CliHistoryTest, EveryKindOfSaveIsUndoneAndRedoneByteForByte) {
    const std::string image = copy("edited.img");
    const std::string document =
        m_work.write("mod.json", R"({"units": [{"index": 1, "hp": 1234}]})");
    const std::vector<std::vector<std::string>> saves = {
        {"unit", "set", image, "#0", "hp=4200", "abilities.2=S2기관"},
        {"pilot", "set", image, "#0", "melee=201"},
        {"skills", "set", image, "#0", "slots.1.level=9"},
        {"weapon", "set", image, "1322", "attack=65535", "terrain.sea=A"},
        {"upgrade", "set", image, "hp.3=249"},
        {"import", image, document}};
    for (const auto& args : saves) {
        const std::string before = readFile(image);
        ok(args);
        const std::string after = readFile(image);
        ASSERT_NE(before, after) << args[0];
        ok({"history", "undo", image});
        EXPECT_EQ(readFile(image) == before, true) << args[0] << ": undo";
        ok({"history", "redo", image});
        EXPECT_EQ(readFile(image) == after, true) << args[0] << ": redo";
    }
    EXPECT_EQ(cli({"sectors", "verify", image}).exitCode, 0);
    const json entries = history(image);
    ASSERT_EQ(entries.size(), 18u); // each save, its undo and its redo
    EXPECT_EQ(entries[0]["action"], "save");
    EXPECT_EQ(entries[0]["fields"][0], (json{{"key", "hp"}, {"old", "3800"}, {"new", "4200"}}));
    EXPECT_EQ(entries[1]["action"], "undo");
    EXPECT_EQ(entries[1]["reverses"], 1);
    EXPECT_EQ(entries[2]["action"], "redo");
    EXPECT_EQ(entries[0]["standing"], false); // the redo stands for it now
    EXPECT_EQ(entries[2]["standing"], true);
}

TEST_F(CliHistoryTest, UndoRefusesAndWritesNothing) {
    const std::string image = copy("refused.img");
    ok({"unit", "set", image, "#0", "hp=4000"});
    ok({"unit", "set", image, "#0", "hp=4100"});
    std::string before = readFile(image);
    auto refused = cli({"history", "undo", image, "1"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(messages::historyLaterFirst(1, {2})), std::string::npos)
        << refused.err;
    EXPECT_EQ(readFile(image), before);

    // Another tool writes the same field without the history.
    ok({"unit", "set", image, "#0", "hp=4321", "--no-history"});
    before = readFile(image);
    refused = cli({"history", "undo", image});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("2번 저장이 쓴 값이 아닙니다"), std::string::npos) << refused.err;
    EXPECT_EQ(readFile(image), before);
    EXPECT_EQ(history(image).size(), 2u);

    const auto dry = cli({"history", "undo", image, "--dry-run"});
    EXPECT_EQ(dry.exitCode, 1); // the dry run checks alike
}

TEST_F(CliHistoryTest, ADamagedHistoryIsNeverTrustedAndIsKeptAside) {
    const std::string image = copy("damaged.img");
    ok({"unit", "set", image, "#0", "hp=4000"});
    const std::string path = historyPathFor(image);
    std::string bytes = readFile(path);
    bytes[bytes.size() - 9] ^= 0x20; // inside the last entry's body
    std::ofstream(path, std::ios::binary) << bytes;
    const auto listed = cli({"history", image});
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_NE(listed.err.find(messages::historyUntrusted(path)), std::string::npos);
    const auto saved = cli({"unit", "set", image, "#0", "hp=4100"});
    EXPECT_EQ(saved.exitCode, 0);
    EXPECT_NE(saved.err.find(messages::historySetAside(path, path + ".damaged").text),
              std::string::npos)
        << saved.err;
    EXPECT_EQ(readFile(path + ".damaged"), bytes);
    EXPECT_EQ(history(image).size(), 1u);
    ok({"history", "clear", image});
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(CliHistoryTest, APatchFromTheHistoryRemakesTheEditedImage) {
    const std::string image = copy("modded.img");
    const std::string pristine = copy("pristine.img");
    ok({"unit", "set", image, "#0", "hp=4000", "en=150"});
    ok({"pilot", "set", image, "#1", "melee=99"});
    ok({"history", "undo", image});
    ok({"weapon", "set", image, "3", "attack=1234"});
    const std::string patch = m_work.file("history.ppf");
    ok({"patch", "make", "--from-history", image, patch});
    ok({"patch", "apply", pristine, patch});
    EXPECT_EQ(readFile(pristine) == readFile(image), true);
    ok({"patch", "undo", pristine, patch}); // it carries undo data
    EXPECT_EQ(readFile(pristine) == readFile(s_dir->file("demo.img")), true);

    EXPECT_EQ(cli({"patch", "make", "--from-history", image, m_work.file("h.bps"), "--format",
                   "bps"})
                  .exitCode,
              2);
    const std::string unsaved = copy("unsaved.img");
    ok({"unit", "set", unsaved, "#0", "hp=1", "--no-history"});
    EXPECT_FALSE(std::filesystem::exists(historyPathFor(unsaved)));
}

} // namespace
} // namespace starfall
