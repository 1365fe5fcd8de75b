#include "core/text/Messages.h"

#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <utility>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;
using test::runCli;

constexpr std::size_t kSector = 2352;

// One demo for the suite; each test works on its own copy.
class CliSectorsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new test::TempDir;
        const auto made = runCli({"make-demo", s_dir->dir()});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        s_demo = new std::string(readFile(s_dir->file("demo.img")));
    }
    static void TearDownTestSuite() {
        delete s_demo;
        delete s_dir;
    }
    void SetUp() override { write(*s_demo); }
    void write(const std::string& bytes) const { std::ofstream(m_path, std::ios::binary) << bytes; }
    test::ProcessResult cli(std::vector<std::string> args) const {
        args.insert(args.begin(), {"--dir", s_dir->dir()});
        return runCli(args);
    }
    json verify(int expectedExit) const {
        const auto result = cli({"sectors", "verify", m_path});
        EXPECT_EQ(result.exitCode, expectedExit) << result.err;
        return json::parse(result.out);
    }

    static inline test::TempDir* s_dir = nullptr;
    static inline std::string* s_demo = nullptr;
    test::TempDir m_work;
    std::string m_path = m_work.file("copy.img");
};

std::vector<std::int64_t> sectorsIn(const json& list) {
    std::vector<std::int64_t> out;
    for (const json& m : list)
        out.push_back(m["sector"].get<std::int64_t>());
    return out;
}

TEST_F(CliSectorsTest, DemoSectorsAllMatch) {
    const json report = verify(0);
    EXPECT_EQ(report["sectors"], s_demo->size() / kSector);
    EXPECT_EQ(report["form1"], report["sectors"]);
    EXPECT_EQ(report["form2"], 0);
    EXPECT_TRUE(report["mismatches"].empty());
}

TEST_F(CliSectorsTest, AnEditIsReportedAndTheRepairTouchesOnlyThatSectorsCodes) {
    ASSERT_EQ(cli({"pilot", "set", m_path, "#0", "--keep-codes", "melee=201"}).exitCode, 0);
    const std::string edited = readFile(m_path);
    const json before = verify(1);
    const auto bad = sectorsIn(before["mismatches"]);
    ASSERT_FALSE(bad.empty());
    EXPECT_EQ(before["mismatches"][0]["codes"], json::array({"edc", "ecc"}));

    const auto repair = cli({"sectors", "repair", m_path});
    ASSERT_EQ(repair.exitCode, 0) << repair.err;
    EXPECT_EQ(sectorsIn(json::parse(repair.out)["repaired"]), bad);
    verify(0);

    const std::string after = readFile(m_path);
    ASSERT_EQ(after.size(), edited.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        const auto sector = static_cast<std::int64_t>(i / kSector);
        const bool tailOfRepaired =
            i % kSector >= 2072 && std::find(bad.begin(), bad.end(), sector) != bad.end();
        if (!tailOfRepaired) {
            ASSERT_EQ(after[i], edited[i]) << "byte " << i;
        }
    }
}

TEST_F(CliSectorsTest, MismatchesOutsideTheEditedSectorsAreLeftAloneUnlessNamed) {
    std::string bytes = *s_demo;
    bytes[3 * kSector + 2072] ^= 0x01; // as copy protection might leave it
    write(bytes);

    const auto byDefault = cli({"sectors", "repair", m_path});
    ASSERT_EQ(byDefault.exitCode, 0) << byDefault.err;
    const json report = json::parse(byDefault.out);
    EXPECT_TRUE(report["repaired"].empty());
    EXPECT_EQ(sectorsIn(report["left_alone"]), std::vector<std::int64_t>{3});
    EXPECT_EQ(readFile(m_path), bytes);

    const auto named = cli({"sectors", "repair", m_path, "--sectors", "2-3"});
    ASSERT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(sectorsIn(json::parse(named.out)["repaired"]), std::vector<std::int64_t>{3});
    EXPECT_EQ(readFile(m_path), *s_demo);
}

TEST_F(CliSectorsTest, BadRangesAreRefusedBeforeAnythingIsWritten) {
    std::string bytes = *s_demo;
    bytes[5 * kSector + 100] ^= 0x01;
    write(bytes);
    for (const char* range : {"x", "5-", "-5", "7-5", "5-6-7"}) {
        const auto result = cli({"sectors", "repair", m_path, "--sectors", range});
        EXPECT_EQ(result.exitCode, 2) << range;
        EXPECT_EQ(readFile(m_path), bytes) << range;
    }
}

TEST_F(CliSectorsTest, AFileWithoutRawSectorsIsSaidToHaveNone) {
    std::string random(20 * kSector, '\0');
    std::uint32_t state = 12345;
    for (char& byte : random) {
        state = state * 1103515245U + 12345U;
        byte = static_cast<char>(state >> 24);
    }
    const std::string iso(40 * 2048, '\0');
    const std::string shifted = "\x01" + s_demo->substr(0, 40 * kSector);
    for (const std::string* bytes : {&std::as_const(random), &iso, &shifted}) {
        write(*bytes);
        for (const char* verb : {"verify", "repair"}) {
            const auto result = cli({"sectors", verb, m_path});
            EXPECT_EQ(result.exitCode, 1) << verb;
            EXPECT_EQ(result.err, messageFor(Failure::NoRawSectors, m_path, -1, "").text + "\n");
            EXPECT_EQ(readFile(m_path), *bytes);
        }
    }
}

TEST_F(CliSectorsTest, AnImageJustUnderTwoGibibytesIsVerifiedToItsEnd) {
    constexpr std::uintmax_t kSize = (std::uintmax_t{1} << 31) - 1;
    write(s_demo->substr(0, kSector)); // one sound sector, then a sparse hole
    std::filesystem::resize_file(m_path, kSize);
    const json report = verify(0);
    EXPECT_EQ(report["sectors"], kSize / kSector);
    EXPECT_EQ(report["form1"], 1);
    EXPECT_EQ(report["trailing_bytes"], kSize % kSector);
}

} // namespace
} // namespace starfall
