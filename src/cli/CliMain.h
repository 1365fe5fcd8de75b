#pragma once

// The whole of starfall-cli behind one call, so that the program's main and
// tests in this process run the same thing.

#include <iosfwd>
#include <string_view>

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

// The whole command line: --dir, --version and the parser of `verb`, or of
// every verb when it names none (help, and the manual and completion that are
// generated from the same table).
void buildCommandLine(CLI::App& app, CliContext& context, std::string_view verb);

// Parses and runs one command line (argv[0] is the program). Returns the exit
// status: 0, 1 when an image or file cannot be used, 2 for a bad command line.
int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace starfall::cli
