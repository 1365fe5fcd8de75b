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

// The spelling the README gave first: spirit1.command to spirit6.level.
std::vector<KeyValue> pilotSpelling(const KeyValue& pair) {
    static const std::regex spirit(R"(spirit([1-6])\.(command|level))");
    std::smatch match;
    if (std::regex_match(pair.first, match, spirit))
        return {{"spirits." + match[1].str() + "." + match[2].str(), pair.second}};
    return {pair};
}

std::unique_ptr<RecordView> selectedPilot(const CliContext& context,
                                          const RecordArguments& arguments) {
    const NameList list = loadNameList(context.directory(), ListKind::Pilots);
    return pilotView(arguments.image, list, selectEntry(list, arguments.selector));
}

} // namespace

void addPilotCommands(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* pilot = app.add_subcommand("pilot", "Read or write a pilot record of charlist.ini");
    pilot->require_subcommand(1);

    CLI::App* get = addRecordVerb(*pilot, "get", "Print a pilot record", *arguments);
    addSelector(*get, *arguments, "pilot");
    get->callback(
        [&context, arguments] { context.print(selectedPilot(context, *arguments)->json()); });

    CLI::App* set = addRecordVerb(*pilot, "set", "Change fields of a pilot record", *arguments);
    addSelector(*set, *arguments, "pilot");
    addAssignments(*set, *arguments, "Keys as `pilot get` prints them: melee, spirits.2.command");
    set->callback([&context, arguments] {
        setRecord(
            context, *arguments, [&] { return selectedPilot(context, *arguments); }, pilotSpelling);
    });
}

} // namespace starfall::cli
