#include "cli/VerbTable.h"
#include "core/io/ImageSave.h"
#include "core/text/Messages.h"
#include "support/CliInProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace starfall {
namespace {

using test::runCliHere;

// The verbs a help text lists, one a line below "Subcommands:".
std::vector<std::string> listedVerbs(const std::string& help) {
    const std::string heading = "Subcommands:\n";
    std::istringstream lines(help.substr(help.find(heading) + heading.size()));
    std::vector<std::string> verbs;
    for (std::string line; std::getline(lines, line) && !line.empty();)
        verbs.push_back(line.substr(2, line.find(' ', 2) - 2));
    return verbs;
}

// A table line whose name is not the verb its function adds leaves that verb
// unreachable on its own, while help, which builds them all, still lists it.
TEST(CliVerbs, HelpListsTheTableInItsOrder) {
    const auto help = runCliHere({"--help"});
    ASSERT_EQ(help.exitCode, 0) << help.err;
    const std::vector<std::string_view> table = cli::verbNames();
    EXPECT_EQ(listedVerbs(help.out), std::vector<std::string>(table.begin(), table.end()));
}

TEST(CliVerbs, EachVerbNamedAloneGetsItsOwnParser) {
    for (const std::string_view name : cli::verbNames()) {
        const std::string verb(name);
        const auto help = runCliHere({verb, "--help"});
        EXPECT_EQ(help.exitCode, 0) << verb << ": " << help.err;
        EXPECT_NE(help.out.find("Usage: starfall-cli " + verb + " "), std::string::npos) << verb;
    }
}

// A failure once the save has landed (a list or a patch that cannot be read
// back) fails the command, but must not let the user think nothing was saved.
TEST(CliVerbs, AFailureAfterALandedSaveSaysTheSaveLanded) {
    const test::TempDir dir;
    ASSERT_EQ(runCliHere({"make-demo", dir.dir()}).exitCode, 0);
    const std::string image = dir.file("demo.img");
    setSaveFaultHook([](SaveStep step) -> int {
        if (step == SaveStep::CommitFlush)
            throw std::runtime_error("read back failed");
        return 0;
    });
    const auto set = runCliHere({"--dir", dir.dir(), "unit", "set", image, "#0", "hp=1234"});
    setSaveFaultHook({});
    EXPECT_EQ(set.exitCode, 1);
    EXPECT_NE(set.err.find(messages::saveLandedBeforeFailure(image).text), std::string::npos)
        << set.err;
    const auto failedEarly = runCliHere({"--dir", dir.dir(), "unit", "get", dir.file("no.img"), "#0"});
    EXPECT_EQ(failedEarly.err.find(messages::saveLandedBeforeFailure(image).text),
              std::string::npos);
}

} // namespace
} // namespace starfall
