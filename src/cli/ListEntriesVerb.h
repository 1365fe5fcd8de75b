#pragma once

// `units` and `pilots`: the entries of one list file, each with its address and
// its position in the image.

#include "core/lists/ListFiles.h"

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

void addListEntriesVerb(CLI::App& app, CliContext& context, const char* verb, ListKind kind,
                        const char* description);

} // namespace starfall::cli
