#pragma once

// The verbs of starfall-cli: one line each in VerbTable.cpp, each naming the
// function in the verb's own <Verb>Command.cpp that adds its parser.

#include <string_view>
#include <vector>

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

// Adds the parser of `verb` only, which keeps a one-record command quick; help
// and an unknown verb get them all.
void addVerbs(CLI::App& app, CliContext& context, std::string_view verb);

// Every verb of the table, in the order help lists them.
[[nodiscard]] std::vector<std::string_view> verbNames();

} // namespace starfall::cli
