#include "cli/VerbTable.h"
#include "support/CliInProcess.h"

#include <gtest/gtest.h>

#include <sstream>
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

} // namespace
} // namespace starfall
