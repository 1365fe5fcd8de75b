#pragma once

// `units` and `pilots`: the entries of one list file, each with its address and
// its position in the image.

#include "core/lists/ListFiles.h"
#include "core/lists/NameList.h"

#include <iosfwd>

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

// {"base", "entries"} of `list`, as printing the whole document prints it,
// written an entry at a time.
void writeListEntries(const NameList& list, std::ostream& out);

void addListEntriesVerb(CLI::App& app, CliContext& context, const char* verb, ListKind kind,
                        const char* description);

} // namespace starfall::cli
