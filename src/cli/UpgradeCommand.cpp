#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/FieldAssignments.h"
#include "cli/RecordViews.h"

#include "core/upgrade/UpgradeTable.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

namespace starfall::cli {

namespace {

bool isRow(std::string_view key) {
    return std::any_of(kUpgradeRows.begin(), kUpgradeRows.end(),
                       [key](const UpgradeRowInfo& row) { return row.key == key; });
}

// ROW=V1,...,V10 sets the ten stages of a row; all ten or none.
std::vector<KeyValue> upgradeSpelling(const KeyValue& pair) {
    if (!isRow(pair.first))
        return {pair};
    std::vector<KeyValue> stages;
    std::string_view list = pair.second;
    for (std::size_t comma = list.find(','); comma != std::string_view::npos;
         comma = list.find(',')) {
        stages.emplace_back(pair.first + "." + std::to_string(stages.size() + 1),
                            list.substr(0, comma));
        list.remove_prefix(comma + 1);
    }
    stages.emplace_back(pair.first + "." + std::to_string(stages.size() + 1), list);
    if (stages.size() != kUpgradeStageCount)
        throw UsageError("key '" + pair.first + "': give " + std::to_string(kUpgradeStageCount) +
                         " comma-separated values, one per stage, not " +
                         std::to_string(stages.size()));
    return stages;
}

} // namespace

void addUpgradeCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* upgrade = app.add_subcommand("upgrade", "Read or write the upgrade table");
    upgrade->require_subcommand(1);

    CLI::App* get = addRecordVerb(*upgrade, "get", "Print the upgrade table", *arguments);
    get->callback([&context, arguments] { context.print(upgradeView(arguments->image)->json()); });

    CLI::App* set =
        addRecordVerb(*upgrade, "set", "Change values of the upgrade table", *arguments);
    addAssignments(*set, *arguments,
                   "ROW.K for stage K (1-10), or ROW=V1,...,V10; ROW as `upgrade get` prints it");
    set->callback([&context, arguments] {
        setRecord(
            context, *arguments, [&] { return upgradeView(arguments->image); }, upgradeSpelling);
    });
}

} // namespace starfall::cli
