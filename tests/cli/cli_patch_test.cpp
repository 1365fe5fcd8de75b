#include "core/text/Messages.h"
#include "core/text/PatchFaultTexts.h"

#include "support/HandPatches.h"
#include "support/Process.h"
#include "support/ReadOnlyFile.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>

namespace starfall {
namespace {

using nlohmann::json;
using test::Bytes;
using test::readFile;
using test::runCli;

constexpr std::size_t kBlockAt = 0x9320;

std::string text(const Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// Undo checks a patch's records from the last one back, so an image without
// the patch is refused where the last change begins.
Position lastChangeStart(const std::string& before, const std::string& after) {
    std::size_t end = before.size();
    while (end > 0 && before[end - 1] == after[end - 1])
        --end;
    std::size_t start = end - 1;
    while (start > 0 && before[start - 1] != after[start - 1])
        --start;
    return static_cast<Position>(start);
}

// What starfall-cli prints for a failure it ends on.
std::string printed(Failure failure, const std::string& path, Position position = -1,
                    const std::string& detail = {}) {
    return messageFor(failure, path, position, detail).text + "\n";
}

// One demo and one modded copy (a pilot and a unit edited, codes repaired)
// for the suite; each test works on its own copies.
class CliPatchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        ASSERT_EQ(runCli({"make-demo", s_dir->dir()}).exitCode, 0);
        s_base = new std::string(readFile(s_dir->file("demo.img")));
        const std::string modded = s_dir->file("modded.img");
        std::filesystem::copy_file(s_dir->file("demo.img"), modded);
        for (const std::vector<std::string>& edit :
             {std::vector<std::string>{"pilot", "set", modded, "#0", "melee=201"},
              {"unit", "set", modded, "#1", "hp=4321"},
              {"sectors", "repair", modded}}) {
            std::vector<std::string> args = {"--dir", s_dir->dir()};
            args.insert(args.end(), edit.begin(), edit.end());
            ASSERT_EQ(runCli(args).exitCode, 0) << edit[0];
        }
        s_modded = new std::string(readFile(modded));
    }
    static void TearDownTestSuite() {
        delete s_modded;
        delete s_base;
        delete s_dir;
    }
    std::string copy(const std::string& bytes, const char* name) const {
        return m_work.write(name, bytes);
    }
    std::string makePatch(const char* name, std::vector<std::string> options = {}) const {
        const std::string out = m_work.file(name);
        std::vector<std::string> args = {"patch", "make", copy(*s_base, "base.img"),
                                         copy(*s_modded, "modded.img"), out};
        args.insert(args.end(), options.begin(), options.end());
        const auto made = runCli(args);
        EXPECT_EQ(made.exitCode, 0) << made.err;
        return out;
    }
    static json run(const std::vector<std::string>& args, int expectedExit) {
        const auto result = runCli(args);
        EXPECT_EQ(result.exitCode, expectedExit) << result.err;
        return expectedExit == 0 ? json::parse(result.out) : json{{"err", result.err}};
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline std::string* s_base = nullptr;
    static inline std::string* s_modded = nullptr;
    test::TempDir m_work;
};

TEST_F(CliPatchTest, ApplyGivesTheModdedImageAndUndoGivesTheBaseBack) {
    for (const char* format : {"ppf", "bps"}) {
        const std::string patch = makePatch(format, {"--format", format});
        const std::string image = copy(*s_base, "image.img");

        const json dry =
            run({"--dir", s_dir->dir(), "patch", "apply", image, patch, "--dry-run"}, 0);
        EXPECT_EQ(dry["result"], "dry run");
        EXPECT_EQ(readFile(image), *s_base) << format;

        const json applied = run({"--dir", s_dir->dir(), "patch", "apply", image, patch}, 0);
        EXPECT_EQ(applied["result"], "applied") << format;
        EXPECT_EQ(applied["changes"], dry["changes"]) << format;
        EXPECT_EQ(readFile(image), *s_modded) << format;
        {
            // Proves that "already applied" does not even open the image for writing.
            const test::ReadOnlyFile locked(image);
            EXPECT_EQ(run({"--dir", s_dir->dir(), "patch", "apply", image, patch}, 0)["result"],
                      "already applied");
        }
        if (std::string(format) == "bps") {
            run({"--dir", s_dir->dir(), "patch", "undo", image, patch}, 1);
            continue;
        }
        const json undone = run({"--dir", s_dir->dir(), "patch", "undo", image, patch}, 0);
        EXPECT_EQ(undone["changes"]["total_bytes"], applied["changes"]["total_bytes"]);
        // Record by record, as diff reports them; undo turns each change round.
        ASSERT_FALSE(applied["changes"]["units"].empty()) << format;
        const json& change = applied["changes"]["units"][0]["changes"].begin().value();
        EXPECT_EQ(undone["changes"]["units"][0]["changes"].begin().value(),
                  (json{change[1], change[0]}));
        EXPECT_EQ(readFile(image), *s_base);
        EXPECT_EQ(run({"--dir", s_dir->dir(), "patch", "undo", image, patch}, 1)["err"],
                  printed(Failure::PatchNotApplied, image, lastChangeStart(*s_base, *s_modded)));
    }
}

TEST_F(CliPatchTest, AnotherBaseIsRefusedAndNothingIsWritten) {
    const std::string ppf = makePatch("mod.ppf");
    const std::string bps = makePatch("mod.bps", {"--format", "bps"});
    std::string other = *s_base;
    other[kBlockAt + 100] ^= 0x01; // the block check, and so the CRC32 too
    const std::string image = copy(other, "other.img");
    for (const auto& [patch, mismatch] :
         {std::pair{ppf, ImageMismatch::BlockCheck}, std::pair{bps, ImageMismatch::SourceCrc}}) {
        const json refused = run({"patch", "apply", image, patch}, 1);
        EXPECT_EQ(refused["err"],
                  printed(Failure::PatchWrongImage, image, -1, messages::imageMismatch(mismatch)))
            << patch;
        EXPECT_EQ(readFile(image), other) << patch;
    }
    const std::string shorter = copy(s_base->substr(0, s_base->size() - 2352), "short.img");
    run({"patch", "apply", shorter, bps}, 1);
    run({"patch", "make", shorter, copy(*s_modded, "m.img"), m_work.file("x.ppf")}, 1);
    EXPECT_FALSE(std::filesystem::exists(m_work.file("x.ppf")));
}

TEST_F(CliPatchTest, StaleSectorCodesAreRefusedUnlessKept) {
    const std::string base = copy(*s_base, "base.img");
    const std::string edited = copy(*s_base, "edited.img");
    ASSERT_EQ(
        runCli({"--dir", s_dir->dir(), "pilot", "set", edited, "#0", "--keep-codes", "melee=202"})
            .exitCode,
        0);
    // The same sector with its data as the base's and one byte of its EDC changed.
    std::string codesOnly = *s_base;
    codesOnly[19557 * 2352 + 2072] ^= 0x01;
    const std::pair<std::string, Failure> cases[] = {
        {edited, Failure::StaleSectorCodes},
        {copy(codesOnly, "codes.img"), Failure::ChangedSectorCodes},
    };
    for (const auto& [modded, failure] : cases) {
        const std::string out = m_work.file("stale.ppf");
        EXPECT_EQ(run({"patch", "make", base, modded, out}, 1)["err"],
                  printed(failure, modded, -1, "19557"));
        EXPECT_FALSE(std::filesystem::exists(out));
        run({"patch", "make", base, modded, out, "--keep-stale-codes"}, 0);
        std::filesystem::remove(out);
    }
}

TEST_F(CliPatchTest, IdenticalImagesMakeNoPatch) {
    const std::string base = copy(*s_base, "base.img");
    const std::string same = copy(*s_base, "same.img");
    for (const char* format : {"ppf", "bps"}) {
        const std::string out = m_work.file(format);
        EXPECT_EQ(run({"patch", "make", base, same, out, "--format", format}, 1)["err"],
                  printed(Failure::ImagesIdentical, same))
            << format;
        EXPECT_FALSE(std::filesystem::exists(out)) << format;
    }
}

// A file or symlink planted where the patch's temporary file goes is left as
// it is, and so is whatever a symlink points at.
TEST_F(CliPatchTest, APlantedTemporaryFileIsNeverFollowed) {
    const std::string base = copy(*s_base, "base.img");
    const std::string modded = copy(*s_modded, "modded.img");
    const std::string victim = m_work.write("victim", "keep me");
    const std::string out = m_work.file("mod.ppf");
    for (const bool symlink : {true, false}) {
        if (symlink)
            std::filesystem::create_symlink(victim, out + ".part");
        else
            m_work.write("mod.ppf.part", "left over");
        EXPECT_EQ(run({"patch", "make", base, modded, out}, 1)["err"],
                  printed(Failure::TemporaryFileInTheWay, out + ".part"))
            << symlink;
        EXPECT_EQ(readFile(victim), "keep me");
        EXPECT_FALSE(std::filesystem::exists(out)) << symlink;
        std::filesystem::remove(out + ".part");
    }
    run({"patch", "make", base, modded, out}, 0);
    EXPECT_FALSE(std::filesystem::exists(out + ".part"));
}

TEST_F(CliPatchTest, HandBuiltPpf1Ppf2AndBpsFilesApply) {
    Bytes base(kBlockAt + 4096);
    for (std::size_t i = 0; i < base.size(); ++i)
        base[i] = static_cast<std::uint8_t>(i * 13);
    const Bytes block(base.begin() + kBlockAt, base.begin() + kBlockAt + 1024);
    Bytes target = base;
    target[3] = 0xE1;
    target[kBlockAt + 2000] = 0xE2;
    target[kBlockAt + 2001] = 0xE3;
    for (std::size_t i = 0; i < 6; ++i)
        target[100 + i] = base[200 + i % 3]; // a SourceCopy, then a TargetCopy of it
    const std::vector<test::HandRecord> records = {
        {3, {0xE1}, {}},
        {kBlockAt + 2000, {0xE2, 0xE3}, {}},
        {100, Bytes(target.begin() + 100, target.begin() + 106), {}}};
    const auto size = static_cast<std::uint32_t>(base.size());
    const Bytes bps = test::HandBps(base.size(), base.size())
                          .sourceRead(3)
                          .targetRead({0xE1})
                          .sourceRead(96)
                          .sourceCopy(3, 200)
                          .targetCopy(3, 100)
                          .sourceRead(kBlockAt + 2000 - 106)
                          .targetRead({0xE2, 0xE3})
                          .sourceRead(base.size() - kBlockAt - 2002)
                          .finish(test::crcOf(base), test::crcOf(target));
    const std::pair<const char*, Bytes> patches[] = {
        {"v1.ppf", test::ppf1("hand", records)},
        {"v2.ppf", test::ppf2("hand", size, block, records, "diz")},
        {"copies.bps", bps},
    };
    for (const auto& [name, file] : patches) {
        const std::string image = copy(text(base), "hand.img");
        const json applied = run({"patch", "apply", image, m_work.write(name, text(file))}, 0);
        EXPECT_EQ(applied["changes"]["total_bytes"], 9) << name;
        EXPECT_EQ(readFile(image), text(target)) << name;
    }
}

TEST_F(CliPatchTest, DamagedPatchesAreRefusedAndNothingIsWritten) {
    const std::string good = readFile(makePatch("good.ppf"));
    const std::string image = copy(*s_base, "image.img");
    struct Damage {
        const char* what;
        std::string bytes;
        PatchFault fault;
        Position at;
    };
    // The header is 60 bytes and the made patch carries a block check after it.
    // Its last record holds one byte and that byte's undo, so a cut of three
    // leaves the record without its length byte.
    const Damage damaged[] = {
        {"cut in a record", good.substr(0, good.size() - 3), PatchFault::Truncated,
         static_cast<Position>(good.size() - 3)},
        {"cut in the block check", good.substr(0, 500), PatchFault::Truncated, 60},
        {"not a patch", "hello", PatchFault::UnknownFormat, 0},
        {"record of length 0", text(test::ppf3("", std::nullopt, false, {{0x10, {}, {}}})),
         PatchFault::ZeroLengthRecord, 60},
    };
    for (const auto& [what, bytes, fault, at] : damaged) {
        const std::string patch = m_work.write("bad.ppf", bytes);
        const json refused = run({"patch", "apply", image, patch}, 1);
        EXPECT_EQ(refused["err"],
                  printed(Failure::PatchDamaged, patch, at, messages::patchFault(fault)))
            << what;
        EXPECT_EQ(readFile(image), *s_base) << what;
    }
    run({"patch", "apply", image, m_work.file("missing.ppf")}, 1);
}

TEST_F(CliPatchTest, InfoShowsWhatTheMakerWrote) {
    const std::string diz = m_work.write("FILE_ID.DIZ", "Starfall mod\r\nv1");
    const std::string patch =
        makePatch("info.ppf", {"--description", "Tougher units", "--diz", diz});
    const json info = run({"patch", "info", patch}, 0);
    EXPECT_EQ(info["format"], "PPF 3.0");
    EXPECT_EQ(info["description"], "Tougher units");
    EXPECT_EQ(info["file_id_diz"], "Starfall mod\r\nv1");
    EXPECT_EQ(info["block_check"], true);
    EXPECT_EQ(info["undo"], true);
    EXPECT_GT(info["records"].get<int>(), 0);
    // The maker writes only the bytes that differ, so here the two counts agree.
    EXPECT_EQ(info["bytes_written"], test::changedPositions(*s_base, *s_modded).size());
    EXPECT_FALSE(info.contains("bytes_changed"));
}

// Descriptions and FILE_ID.DIZ are UTF-8 or code page 949; what neither
// reads still prints as valid JSON.
TEST_F(CliPatchTest, InfoReadsDescriptionsInEitherCodePage) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string shown;
    };
    const Case cases[] = {
        {"code page 949", "\xB8\xF0\xB5\xE5 v1", "모드 v1"},
        {"UTF-8", "모드 v1", "모드 v1"},
        {"neither",
         "\xA1"
         "0",
         "\xEF\xBF\xBD"
         "0"}, // a lead byte without its trail
    };
    for (const Case& c : cases) {
        const Bytes patch = test::ppf2(c.bytes, 4096, Bytes(1024, 0), {{1, {1}, {}}}, c.bytes);
        const json shown = run({"patch", "info", m_work.write("text.ppf", text(patch))}, 0);
        EXPECT_EQ(shown["description"], c.shown) << c.what;
        EXPECT_EQ(shown["file_id_diz"], c.shown) << c.what;
        EXPECT_EQ(shown["bytes_written"], 1) << c.what;
    }
}

TEST_F(CliPatchTest, BadCommandLinesExitTwoAndWriteNothing) {
    const std::string base = copy(*s_base, "base.img");
    const std::string modded = copy(*s_modded, "modded.img");
    const std::string diz = m_work.write("big.diz", std::string(3073, 'x'));
    const std::vector<std::vector<std::string>> lines = {
        {"patch", "make", base, modded, m_work.file("o"), "--format", "ips"},
        {"patch", "make", base, modded, m_work.file("o"), "--description", std::string(51, 'd')},
        {"patch", "make", base, modded, m_work.file("o"), "--diz", diz},
        {"patch", "make", base, modded, m_work.file("o"), "--format", "bps", "--diz", diz},
        {"patch", "make", base, modded, modded},
        {"patch", "apply", base},
    };
    for (const auto& line : lines) {
        EXPECT_EQ(runCli(line).exitCode, 2) << line.back();
        EXPECT_FALSE(std::filesystem::exists(m_work.file("o")));
    }
    EXPECT_EQ(readFile(modded), *s_modded);
}

} // namespace
} // namespace starfall
