#include "cli/ListEntriesVerb.h"

namespace starfall::cli {

void addPilotsCommand(CLI::App& app, CliContext& context) {
    addListEntriesVerb(app, context, "pilots", ListKind::Pilots,
                       "List the entries of charlist.ini");
}

} // namespace starfall::cli
