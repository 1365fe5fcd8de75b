#include "cli/ListedRecordCommands.h"

namespace starfall::cli {

void addPilotCommand(CLI::App& app, CliContext& context) {
    addListedNoun(app, context,
                  {"pilot", "Read or write a pilot record of charlist.ini", "a pilot record",
                   "pilot", "Keys as `pilot get` prints them: melee, spirits.2.command",
                   ListKind::Pilots, pilotView,
                   // The spelling the README gave first: spirit1.command to spirit6.level.
                   renamedKeys({"spirit", "spirits.", 6, {".command", ".level"}})});
}

} // namespace starfall::cli
