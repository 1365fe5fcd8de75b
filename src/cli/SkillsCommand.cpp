#include "cli/ListedRecordCommands.h"

namespace starfall::cli {

void addSkillsCommand(CLI::App& app, CliContext& context) {
    addListedNoun(app, context,
                  {"skills", "Read or write a pilot's skill table", "a pilot's skill table",
                   "pilot", "Keys as `skills get` prints them: slots.K.skill, slots.K.level",
                   ListKind::Pilots, skillTableView,
                   // The spelling the README gave first: K.skill and K.level.
                   renamedKeys({"", "slots.", 0, {".skill", ".level"}})});
}

} // namespace starfall::cli
