#include "cli/ListedRecordCommands.h"

namespace starfall::cli {

void addUnitCommand(CLI::App& app, CliContext& context) {
    addListedNoun(app, context,
                  {"unit", "Read or write a unit record of unitlist.ini", "a unit record", "unit",
                   "Keys as `unit get` prints them: hp, terrain.sea, abilities.2", ListKind::Units,
                   unitView,
                   // The spelling the README gave first: ability1 to ability4.
                   renamedKeys({"ability", "abilities.", 4, {}})});
}

} // namespace starfall::cli
