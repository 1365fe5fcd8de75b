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

// A record verb named with its sub-verb builds that one alone; named without
// one, or with a word that is neither, it builds both, so that its help lists
// them and a misspelling is told as before.
TEST(CliVerbs, EachSubVerbNamedAloneGetsItsOwnParser) {
    for (const std::string verb : {"unit", "pilot", "skills"}) {
        const auto help = runCliHere({verb, "--help"});
        EXPECT_EQ(listedVerbs(help.out), (std::vector<std::string>{"get", "set"})) << verb;
        for (const std::string sub : {"get", "set"}) {
            const auto alone = runCliHere({verb, sub, "--help"});
            EXPECT_EQ(alone.exitCode, 0) << verb << " " << sub << ": " << alone.err;
            EXPECT_NE(alone.out.find("Usage: starfall-cli " + verb + " " + sub + " "),
                      std::string::npos)
                << verb << " " << sub;
        }
        const auto misspelt = runCliHere({verb, "gte", "x.img"});
        EXPECT_EQ(misspelt.exitCode, 2) << verb;
        EXPECT_NE(misspelt.err.find("A subcommand is required"), std::string::npos)
            << verb << ": " << misspelt.err;
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
