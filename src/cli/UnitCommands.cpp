#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/Commands.h"
#include "cli/FieldAssignments.h"
#include "cli/RecordViews.h"

#include "lists/NameListReader.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <regex>

namespace starfall::cli {

namespace {

// The spelling the README gave first: ability1 to ability4.
std::vector<KeyValue> unitSpelling(const KeyValue& pair) {
    static const std::regex ability("ability([1-4])");
    std::smatch match;
    if (std::regex_match(pair.first, match, ability))
        return {{"abilities." + match[1].str(), pair.second}};
    return {pair};
}

std::unique_ptr<RecordView> selectedUnit(const CliContext& context,
                                         const RecordArguments& arguments) {
    const NameList list = loadNameList(context.directory(), ListKind::Units);
    return unitView(arguments.image, list, selectEntry(list, arguments.selector));
}

} // namespace

void addUnitCommands(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* unit = app.add_subcommand("unit", "Read or write a unit record of unitlist.ini");
    unit->require_subcommand(1);

    CLI::App* get = addRecordVerb(*unit, "get", "Print a unit record", *arguments);
    addSelector(*get, *arguments, "unit");
    get->callback(
        [&context, arguments] { context.print(selectedUnit(context, *arguments)->json()); });

    CLI::App* set = addRecordVerb(*unit, "set", "Change fields of a unit record", *arguments);
    addSelector(*set, *arguments, "unit");
    addAssignments(*set, *arguments,
                   "Keys as `unit get` prints them: hp, terrain.sea, abilities.2");
    set->callback([&context, arguments] {
        setRecord(
            context, *arguments, [&] { return selectedUnit(context, *arguments); }, unitSpelling);
    });

    CLI::App* weapons = addRecordVerb(app, "weapons", "Print a unit's weapon list", *arguments);
    addSelector(*weapons, *arguments, "unit");
    weapons->callback([&context, arguments] {
        const NameList list = loadNameList(context.directory(), ListKind::Units);
        context.print(weaponListJson(arguments->image, list, selectEntry(list, arguments->selector),
                                     context.directory()));
    });
}

} // namespace starfall::cli
