#include "core/Version.h"
#include "core/text/Messages.h"

#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace starfall {
namespace {

using nlohmann::json;
using test::runCli;

TEST(CliLists, PrintsEntriesWithAddressAndPosition) {
    test::TempDir dir;
    // "단쿠가" in code page 949, a line without the blank, a blank line.
    dir.write("unitlist.ini", "; units\nUNIT 1000\r\n\xB4\xDC\xC4\xED\xB0\xA1, 6208\r\nB,77\n\n");
    const auto result = runCli({"--dir", dir.path().string(), "units"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const json expected = {
        {"base", 1000},
        {"entries",
         {{{"index", 0}, {"name", "단쿠가"}, {"address", 6208}, {"position", 7208}},
          {{"index", 1}, {"name", "B"}, {"address", 7}, {"position", 1007}},
          {{"index", 2}, {"name", ""}, {"address", 0}, {"position", 1000}}}}};
    EXPECT_EQ(json::parse(result.out), expected);
}

TEST(CliLists, MissingListIsTheEditorsWarningAndStatusOne) {
    test::TempDir dir;
    const auto result = runCli({"--dir", dir.dir(), "pilots"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, messages::listFileMissing("charlist.ini", dir.dir()).text + "\n");
    EXPECT_TRUE(result.out.empty());
}

// A copy of the CLI in a folder of its own, as after an install: the lists
// are found in the program's folder, the image's, then the user's, unless
// --dir names the one folder to use.
TEST(CliLists, ListsAreSearchedBesideTheProgramTheImageThenTheUser) {
    test::TempDir root;
    for (const char* folder : {"bin", "images", "config", "config/starfall", "given"})
        std::filesystem::create_directory(root.file(folder));
    const std::string cli = root.file("bin/starfall-cli");
    std::filesystem::copy_file(STARFALL_CLI_PATH, cli);
    const std::map<std::string, std::string> env = {{"XDG_CONFIG_HOME", root.file("config")},
                                                    {"ASAN_OPTIONS", "detect_leaks=0"}};
    const std::string image = root.file("images/demo.img");
    ASSERT_EQ(runCli({"make-demo", root.file("images")}).exitCode, 0);
    const auto run = [&](const std::vector<std::string>& args) {
        return test::runProcess(cli, args, env);
    };
    const auto firstUnit = [&](const std::vector<std::string>& args) {
        const auto result = run(args);
        return result.exitCode == 0 ? json::parse(result.out).at("entries").at(0).at("name")
                                    : json(result.err);
    };
    const auto writeList = [&](const char* folder, const char* name) {
        root.write(std::string(folder) + "/unitlist.ini", std::string("U 0\n") + name + ", 0\n");
    };

    const auto beside = run({"unit", "get", image, "#0"});
    EXPECT_EQ(beside.exitCode, 0) << "the image's folder: " << beside.err;
    writeList("config/starfall", "User");
    EXPECT_EQ(firstUnit({"units"}), "User") << "no image: the program's folder, then the user's";
    writeList("bin", "Program");
    EXPECT_EQ(firstUnit({"units"}), "Program");
    writeList("given", "Given");
    EXPECT_EQ(firstUnit({"--dir", root.file("given"), "units"}), "Given");

    std::filesystem::remove(root.file("images/charlist.ini"));
    const std::string searched = root.file("bin/") + "\n" + root.file("images/") + "\n" +
                                 root.file("config/starfall/");
    EXPECT_EQ(run({"pilot", "get", image, "#0"}).err,
              messages::listFileMissing("charlist.ini", searched).text + "\n");
    root.write("images/charlist.ini", "P 0\nKim, 0\n");
    EXPECT_EQ(run({"--dir", root.file("given"), "pilot", "get", image, "#0"}).err,
              messages::listFileMissing("charlist.ini", root.file("given/")).text + "\n")
        << "--dir alone, though the others hold lists";
}

TEST(CliLists, VersionIsTheBuildsOwn) {
    const auto result = runCli({"--version"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, std::string("starfall-cli ") + kVersion + "\n");
}

TEST(CliLists, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({"no-such-verb"}).exitCode, 2);
    EXPECT_EQ(runCli({"--help"}).exitCode, 0);
}

} // namespace
} // namespace starfall
