// Files that are not what they should be: a directory or a FIFO where a list,
// an image or weapon.ini belongs, demo files in the way, a folder whose name
// is not UTF-8. Each is a clear message and a status, never an abort or a hang.

#include "core/text/Messages.h"
#include "core/text/RecordNames.h"

#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sys/stat.h>

namespace starfall {
namespace {

using nlohmann::json;
using test::readFile;
using test::runCli;

class CliOddFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(runCli({"make-demo", m_demo.dir()}).exitCode, 0);
        m_image = m_demo.file("demo.img");
    }
    void makeFifo(const std::string& path) const { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }

    test::TempDir m_demo;
    std::string m_image;
};

TEST_F(CliOddFilesTest, ListsAndImagesThatAreNotRegularFiles) {
    test::TempDir odd;
    std::filesystem::create_directory(odd.file("unitlist.ini"));
    makeFifo(odd.file("charlist.ini"));
    const auto units = runCli({"--dir", odd.dir(), "unit", "get", m_image, "#0"});
    EXPECT_EQ(units.exitCode, 1);
    EXPECT_EQ(units.err, messages::listFileMissing("unitlist.ini", odd.dir()).text + "\n");
    const auto pilots = runCli({"--dir", odd.dir(), "pilots"});
    EXPECT_EQ(pilots.exitCode, 1);
    EXPECT_EQ(pilots.err, messages::listFileMissing("charlist.ini", odd.dir()).text + "\n");

    const std::string fifo = odd.file("pipe.img");
    makeFifo(fifo);
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"unit", "get", fifo, "#0"},
                                               {"unit", "set", fifo, "#0", "hp=1"},
                                               {"sectors", "verify", fifo}}) {
        std::vector<std::string> full{"--dir", m_demo.dir()};
        full.insert(full.end(), args.begin(), args.end());
        const auto result = runCli(full);
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_EQ(result.err, messages::fileOpenFailure(fifo).text + "\n");
    }
}

TEST_F(CliOddFilesTest, WeaponNamesThatAreNotAFileAreMissingNames) {
    std::filesystem::remove(m_demo.file("weapon.ini"));
    makeFifo(m_demo.file("weapon.ini"));
    const auto result = runCli({"--dir", m_demo.dir(), "weapons", m_image, "#0"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const json list = json::parse(result.out);
    ASSERT_FALSE(list["weapons"].empty());
    const int number = list["weapons"][0]["number"];
    EXPECT_EQ(list["weapons"][0]["name"], messages::defaultWeaponName(number));
}

TEST_F(CliOddFilesTest, MakeDemoNeverReplacesFilesUnlessForced) {
    m_demo.write("charlist.ini", "mine");
    const std::string image = readFile(m_image);
    const auto refused = runCli({"make-demo", m_demo.dir()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(readFile(m_demo.file("charlist.ini")), "mine");
    EXPECT_EQ(readFile(m_image), image);

    EXPECT_EQ(runCli({"make-demo", m_demo.dir(), "--force"}).exitCode, 0);
    EXPECT_NE(readFile(m_demo.file("charlist.ini")), "mine");
}

TEST_F(CliOddFilesTest, MakeDemoRemovesWhatItCreatedWhenItFails) {
    test::TempDir fresh;
    std::filesystem::create_directory(fresh.file("weapon.ini")); // the last file cannot be written
    const auto result = runCli({"make-demo", fresh.dir(), "--force"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(fresh.file("demo.img")));
    EXPECT_FALSE(std::filesystem::exists(fresh.file("charlist.ini")));
    EXPECT_FALSE(std::filesystem::exists(fresh.file("unitlist.ini")));
    EXPECT_TRUE(std::filesystem::is_directory(fresh.file("weapon.ini")));
}

TEST_F(CliOddFilesTest, MakeDemoPrintsAFolderNameThatIsNotUtf8Escaped) {
    const std::string folder = m_demo.file("caf\xE9");
    std::filesystem::create_directory(folder);
    const auto result = runCli({"make-demo", folder});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(json::parse(result.out)["image"], m_demo.file("caf\\xE9") + "/demo.img");
    EXPECT_TRUE(std::filesystem::exists(folder + "/demo.img"));
}

} // namespace
} // namespace starfall
