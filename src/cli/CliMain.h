#pragma once

// The whole of starfall-cli behind one call, so that the program's main and
// tests in this process run the same thing.

#include <iosfwd>

namespace starfall::cli {

// Parses and runs one command line (argv[0] is the program). Returns the exit
// status: 0, 1 when an image or file cannot be used, 2 for a bad command line.
int runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace starfall::cli
