#pragma once

#include <map>
#include <string>
#include <vector>

namespace starfall::test {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end with no standard input, collecting what it
// prints; `environment` entries are added to the current environment.
[[nodiscard]] ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                                       const std::map<std::string, std::string>& environment = {});

// starfall-cli of this build.
[[nodiscard]] ProcessResult runCli(const std::vector<std::string>& args);

} // namespace starfall::test
