#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/ListedRecordCommands.h"

#include "core/lists/NameListReader.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addUnitCommands(CLI::App& app, CliContext& context) {
    addListedNoun(app, context,
                  {"unit", "Read or write a unit record of unitlist.ini", "a unit record", "unit",
                   "Keys as `unit get` prints them: hp, terrain.sea, abilities.2", ListKind::Units,
                   unitView,
                   // The spelling the README gave first: ability1 to ability4.
                   renamedKeys("ability([1-4])", "abilities.$1")});

    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* weapons = addRecordVerb(app, "weapons", "Print a unit's weapon list", *arguments);
    addSelector(*weapons, *arguments, "unit");
    weapons->callback([&context, arguments] {
        const NameList list = loadNameList(context.directory(), ListKind::Units);
        context.print(weaponListJson(arguments->image, list, selectEntry(list, arguments->selector),
                                     context.directory()));
    });
}

} // namespace starfall::cli
