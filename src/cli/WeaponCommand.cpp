#include "cli/CliContext.h"
#include "cli/CommandArguments.h"
#include "cli/FieldAssignments.h"
#include "cli/RecordViews.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

void addWeaponCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<RecordArguments>();
    CLI::App* weapon = app.add_subcommand("weapon", "Read or write a weapon record");
    weapon->require_subcommand(1);

    CLI::App* get = addRecordVerb(*weapon, "get", "Print a weapon record", *arguments);
    addWeaponNumber(*get, *arguments);
    get->callback([&context, arguments] {
        context.print(weaponView(arguments->image, arguments->number)->json());
    });

    CLI::App* set = addRecordVerb(*weapon, "set", "Change fields of a weapon record", *arguments);
    addWeaponNumber(*set, *arguments);
    addAssignments(*set, *arguments,
                   "Keys as `weapon get` prints them: attack, critical, terrain.air");
    set->callback([&context, arguments] {
        setRecord(context, *arguments,
                  [&] { return weaponView(arguments->image, arguments->number); });
    });
}

} // namespace starfall::cli
