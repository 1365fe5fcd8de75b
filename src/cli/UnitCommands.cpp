#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/UnitJson.h"
#include "cli/UnitSetCommands.h"

#include "lists/NameListReader.h"
#include "unit/WeaponRecord.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

namespace {

struct UnitArguments {
    std::string image;
    std::string selector;
    int weapon = 0;
};

void addImage(CLI::App& command, UnitArguments& arguments) {
    command.add_option("IMAGE", arguments.image, "The image file")->required();
}

void addSelector(CLI::App& command, UnitArguments& arguments) {
    command.add_option("SEL", arguments.selector, "#N (index from 0) or the exact unit name")
        ->required();
}

} // namespace

void addUnitCommands(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<UnitArguments>();

    CLI::App* unit = app.add_subcommand("unit", "Read or write a unit record of unitlist.ini");
    unit->require_subcommand(1);
    CLI::App* get = unit->add_subcommand("get", "Print a unit record");
    addImage(*get, *arguments);
    addSelector(*get, *arguments);
    get->callback([&context, arguments] {
        const NameList list = loadNameList(context.directory(), ListKind::Units);
        context.print(unitJson(arguments->image, list, selectEntry(list, arguments->selector)));
    });
    addUnitSet(*unit, context);

    CLI::App* weapons = app.add_subcommand("weapons", "Print a unit's weapon list");
    addImage(*weapons, *arguments);
    addSelector(*weapons, *arguments);
    weapons->callback([&context, arguments] {
        const NameList list = loadNameList(context.directory(), ListKind::Units);
        context.print(weaponListJson(arguments->image, list, selectEntry(list, arguments->selector),
                                     context.directory()));
    });

    CLI::App* weapon = app.add_subcommand("weapon", "Read or write a weapon record");
    weapon->require_subcommand(1);
    CLI::App* weaponGet = weapon->add_subcommand("get", "Print a weapon record");
    addImage(*weaponGet, *arguments);
    weaponGet->add_option("N", arguments->weapon, "The weapon number")
        ->required()
        ->check(CLI::Range(0, kWeaponNumberLimit - 1));
    weaponGet->callback(
        [&context, arguments] { context.print(weaponJson(arguments->image, arguments->weapon)); });
    addWeaponSet(*weapon, context);

    CLI::App* upgrade = app.add_subcommand("upgrade", "Read or write the upgrade table");
    upgrade->require_subcommand(1);
    CLI::App* upgradeGet = upgrade->add_subcommand("get", "Print the upgrade table");
    addImage(*upgradeGet, *arguments);
    upgradeGet->callback([&context, arguments] { context.print(upgradeJson(arguments->image)); });
    addUpgradeSet(*upgrade, context);
}

} // namespace starfall::cli
