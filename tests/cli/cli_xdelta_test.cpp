// VCDIFF patches as xdelta3 makes them, applied, described and refused, and
// `patch check` over patches meant to be stacked.

#include "core/text/Messages.h"
#include "core/text/PatchFaultTexts.h"

#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;
using test::runCli;

// Where tools/setup.sh installs it.
constexpr const char* kXdelta3 = "/usr/bin/xdelta3";

std::string printed(Failure failure, const std::string& path, Position position = -1,
                    const std::string& detail = {}) {
    return messageFor(failure, path, position, detail).text + "\n";
}

// The demo, and two copies edited apart: one unit and one pilot changed in
// each, the unit in both (codes repaired).
class CliXdeltaTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        ASSERT_EQ(runCli({"make-demo", s_dir->dir()}).exitCode, 0);
        s_base = new std::string(readFile(s_dir->file("demo.img")));
        s_modded = new std::string(edited("modded.img", {"melee=201"}, "hp=4321"));
        s_other = new std::string(edited("other.img", {"shooting=190"}, "hp=1234"));
    }
    static void TearDownTestSuite() {
        delete s_other;
        delete s_modded;
        delete s_base;
        delete s_dir;
    }
    static std::string edited(const char* name, const std::vector<std::string>& pilot,
                              const std::string& unit) {
        const std::string image = s_dir->file(name);
        std::filesystem::copy_file(s_dir->file("demo.img"), image);
        std::vector<std::string> setPilot = {"--dir", s_dir->dir(), "pilot", "set", image, "#0"};
        setPilot.insert(setPilot.end(), pilot.begin(), pilot.end());
        EXPECT_EQ(runCli(setPilot).exitCode, 0);
        EXPECT_EQ(runCli({"--dir", s_dir->dir(), "unit", "set", image, "#1", unit}).exitCode, 0);
        EXPECT_EQ(runCli({"--dir", s_dir->dir(), "sectors", "repair", image}).exitCode, 0);
        return readFile(image);
    }

    std::string copy(const std::string& bytes, const char* name) const {
        return m_work.write(name, bytes);
    }
    // xdelta3 -e with `options`, from `from` to `to`.
    std::string xdelta(const std::string& from, const std::string& to, const char* name,
                       std::vector<std::string> options = {}) const {
        const std::string out = m_work.file(name);
        std::vector<std::string> args = {"-e", "-f"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), {"-s", copy(from, "from.img"), copy(to, "to.img"), out});
        const auto made = test::runProcess(kXdelta3, args);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return out;
    }
    static json run(const std::vector<std::string>& args, int expectedExit) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, expectedExit) << result.err;
        return result.out.empty() ? json{{"err", result.err}, {"result", nullptr}, {"changes", nullptr}}
                                  : json::parse(result.out);
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline std::string* s_base = nullptr;
    static inline std::string* s_modded = nullptr;
    static inline std::string* s_other = nullptr;
    test::TempDir m_work;
};

TEST_F(CliXdeltaTest, PatchesOfEverySecondaryCompressionApplyAndDescribeThemselves) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        json secondary;
        bool checksums;
    };
    const Case cases[] = {
        {"default (lzma)", {}, "lzma", true},
        {"djw", {"-S", "djw"}, "djw", true},
        {"none", {"-S", "none"}, nullptr, true},
        {"no checksum", {"-n"}, "lzma", false},
    };
    for (const Case& c : cases) {
        const std::string patch = xdelta(*s_base, *s_modded, "mod.vcdiff", c.options);
        const json info = run({"patch", "info", patch}, 0);
        EXPECT_EQ(info["format"], "VCDIFF") << c.what;
        EXPECT_EQ(info["target_size"], s_base->size()) << c.what;
        EXPECT_EQ(info["bytes_written"], s_base->size()) << c.what;
        EXPECT_EQ(info["secondary_compression"], c.secondary) << c.what;
        EXPECT_EQ(info["window_checksums"], c.checksums) << c.what;
        EXPECT_EQ(info["undo"], false) << c.what;

        const std::string image = copy(*s_base, "image.img");
        const json dry = run({"--dir", s_dir->dir(), "patch", "apply", image, patch, "--dry-run"}, 0);
        EXPECT_EQ(readFile(image), *s_base) << c.what;
        const json applied = run({"--dir", s_dir->dir(), "patch", "apply", image, patch}, 0);
        EXPECT_EQ(applied["result"], "applied") << c.what;
        EXPECT_EQ(applied["format"], "VCDIFF") << c.what;
        EXPECT_EQ(applied["changes"], dry["changes"]) << c.what;
        EXPECT_EQ(applied["changes"]["units"][0]["changes"]["hp"], json({4200, 4321}))
            << applied.dump();
        EXPECT_EQ(readFile(image), *s_modded) << c.what;
        // Built from the patched image, the target is that image: nothing to write.
        EXPECT_EQ(run({"patch", "apply", image, patch}, 0)["result"], "already applied") << c.what;
        run({"patch", "undo", image, patch}, 1);
    }
}

TEST_F(CliXdeltaTest, AnotherImageIsRefusedAsTheWrongImageAndNothingIsWritten) {
    const std::string patch = xdelta(*s_base, *s_modded, "mod.vcdiff");
    const std::string image = copy(*s_other, "other.img");
    EXPECT_EQ(run({"patch", "apply", image, patch}, 1)["err"],
              printed(Failure::PatchWrongImage, image, -1,
                      messages::imageMismatch(ImageMismatch::WindowChecksum)));
    EXPECT_EQ(readFile(image), *s_other);

    // A target of another size would change the image's size.
    const std::string longer = xdelta(*s_base, *s_modded + std::string(2352, '\0'), "long.vcdiff");
    const std::string base = copy(*s_base, "base.img");
    EXPECT_EQ(run({"patch", "apply", base, longer}, 1)["err"],
              printed(Failure::ImageSizesDiffer, longer, -1,
                      std::to_string(s_base->size()) + " ≠ " +
                          std::to_string(s_base->size() + 2352)));
    EXPECT_EQ(readFile(base), *s_base);
}

TEST_F(CliXdeltaTest, DamagedPatchesAreRefusedAndNothingIsWritten) {
    const std::string good = readFile(xdelta(*s_base, *s_modded, "good.vcdiff", {"-S", "none"}));
    const std::string image = copy(*s_base, "image.img");
    std::string flipped = good;
    flipped[flipped.size() - 2] = static_cast<char>(flipped[flipped.size() - 2] ^ 0x55);
    const std::pair<const char*, std::string> damaged[] = {
        {"cut in a window", good.substr(0, good.size() - 3)},
        {"cut in the header", good.substr(0, 6)},
        {"an instruction flipped", flipped},
    };
    for (const auto& [what, bytes] : damaged) {
        const std::string patch = m_work.write("bad.vcdiff", bytes);
        const json refused = run({"patch", "apply", image, patch}, 1);
        EXPECT_NE(refused["err"].get<std::string>().find("아무것도 쓰지 않았습니다"),
                  std::string::npos)
            << what << ": " << refused["err"];
        EXPECT_EQ(readFile(image), *s_base) << what;
    }
}

TEST_F(CliXdeltaTest, CheckNamesTheRecordsTwoPatchesBothChange) {
    const std::string mod = xdelta(*s_base, *s_modded, "mod.vcdiff");
    const std::string other = m_work.file("other.ppf");
    ASSERT_EQ(runCli({"patch", "make", copy(*s_base, "b.img"), copy(*s_other, "o.img"), other})
                  .exitCode,
              0);
    const std::string image = copy(*s_base, "image.img");

    const json both = run({"--dir", s_dir->dir(), "patch", "check", image, mod, other}, 1);
    EXPECT_EQ(both["result"], "conflicts");
    ASSERT_EQ(both["conflicts"].size(), 1U) << both.dump();
    const json& unit = both["conflicts"][0];
    EXPECT_EQ(unit["section"], "units");
    EXPECT_EQ(unit["index"], 1);
    EXPECT_EQ(unit["patches"], json({mod, other}));
    EXPECT_EQ(unit["same_values"], false);
    EXPECT_EQ(readFile(image), *s_base);

    // One patch twice agrees with itself, on every record it changes.
    const json twice = run({"--dir", s_dir->dir(), "patch", "check", image, mod, mod}, 1);
    ASSERT_EQ(twice["conflicts"].size(), 2U) << twice.dump();
    EXPECT_EQ(twice["conflicts"][0]["section"], "units");
    EXPECT_EQ(twice["conflicts"][1]["section"], "pilots");
    for (const json& record : twice["conflicts"])
        EXPECT_EQ(record["same_values"], true);
    EXPECT_GT(twice["sector_code_bytes"].get<int>(), 0);

    const json alone = run({"--dir", s_dir->dir(), "patch", "check", image, mod}, 0);
    EXPECT_EQ(alone["result"], "no conflicts");
    EXPECT_EQ(alone["conflicts"], json::array());
}

} // namespace
} // namespace starfall
