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

// The spelling the README gave first: K.skill and K.level.
std::vector<KeyValue> skillSpelling(const KeyValue& pair) {
    static const std::regex slot(R"(([1-9][0-9]*)\.(skill|level))");
    std::smatch match;
    if (std::regex_match(pair.first, match, slot))
        return {{"slots." + match[1].str() + "." + match[2].str(), pair.second}};
    return {pair};
}

std::unique_ptr<RecordView> selectedTable(const CliContext& context,
                                          const RecordArguments& arguments) {
    const NameList list = loadNameList(context.directory(), ListKind::Pilots);
    return skillTableView(arguments.image, list, selectEntry(list, arguments.selector));
}

} // namespace

void addSkillCommands(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* skills = app.add_subcommand("skills", "Read or write a pilot's skill table");
    skills->require_subcommand(1);

    CLI::App* get = addRecordVerb(*skills, "get", "Print a pilot's skill table", *arguments);
    addSelector(*get, *arguments, "pilot");
    get->callback(
        [&context, arguments] { context.print(selectedTable(context, *arguments)->json()); });

    CLI::App* set =
        addRecordVerb(*skills, "set", "Change slots of a pilot's skill table", *arguments);
    addSelector(*set, *arguments, "pilot");
    addAssignments(*set, *arguments,
                   "Keys as `skills get` prints them: slots.K.skill, slots.K.level");
    set->callback([&context, arguments] {
        setRecord(
            context, *arguments, [&] { return selectedTable(context, *arguments); }, skillSpelling);
    });
}

} // namespace starfall::cli
