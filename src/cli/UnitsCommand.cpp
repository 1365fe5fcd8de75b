#include "cli/ListEntriesVerb.h"

namespace starfall::cli {

void addUnitsCommand(CLI::App& app, CliContext& context) {
    addListEntriesVerb(app, context, "units", ListKind::Units, "List the entries of unitlist.ini");
}

} // namespace starfall::cli
