#include "core/text/Messages.h"

#include "support/Process.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

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
    EXPECT_EQ(result.err, messages::listFileMissing("charlist.ini").text + "\n");
    EXPECT_TRUE(result.out.empty());
}

TEST(CliLists, UsageErrorsExitWithTwo) {
    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({"no-such-verb"}).exitCode, 2);
    EXPECT_EQ(runCli({"--help"}).exitCode, 0);
}

} // namespace
} // namespace starfall
