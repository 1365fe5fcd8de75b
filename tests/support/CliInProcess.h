#pragma once

// starfall-cli run in the test's own process, for tests that run many
// commands: the same parse and commands as the program, without a process
// start each. Link the test with starfall_cli_commands.

#include "cli/CliMain.h"
#include "support/Process.h"

#include <sstream>
#include <string>
#include <vector>

namespace starfall::test {

inline ProcessResult runCliHere(const std::vector<std::string>& args) {
    std::vector<const char*> argv = {"starfall-cli"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::runCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
    return {status, out.str(), err.str()};
}

} // namespace starfall::test
