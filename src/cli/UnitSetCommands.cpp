#include "cli/UnitSetCommands.h"

#include "cli/Assignments.h"
#include "cli/CliContext.h"
#include "cli/RecordSetters.h"
#include "cli/UnitJson.h"

#include "lists/NameListReader.h"
#include "unit/UnitRecordFile.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

namespace {

struct SetArguments {
    std::string image;
    std::string selector;
    int weapon = 0;
    std::vector<std::string> assignments;
};

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Every pair is applied before anything is saved, so one bad pair writes nothing.
template <typename Record, typename Setter>
void applyAll(Record& record, const Pairs& pairs, Setter set) {
    for (const auto& [key, value] : pairs)
        set(record, key, value);
}

void setUnit(const CliContext& context, const SetArguments& arguments) {
    const Pairs pairs = parseAssignments(arguments.assignments);
    const NameList list = loadNameList(context.directory(), ListKind::Units);
    const std::size_t index = selectEntry(list, arguments.selector);
    const UnitPlace place = UnitPlace::fromList(list, index);
    UnitRecord record = loadUnitRecord(arguments.image, place);
    applyAll(record, pairs, setUnitField);
    saveUnitRecord(arguments.image, place, record);
    context.print(unitJson(arguments.image, list, index));
}

void setWeapon(const CliContext& context, const SetArguments& arguments) {
    const Pairs pairs = parseAssignments(arguments.assignments);
    WeaponRecord record = loadWeaponRecord(arguments.image, arguments.weapon);
    applyAll(record, pairs, setWeaponField);
    saveWeaponRecord(arguments.image, arguments.weapon, record);
    context.print(weaponJson(arguments.image, arguments.weapon));
}

void setUpgrade(const CliContext& context, const SetArguments& arguments) {
    const Pairs pairs = parseAssignments(arguments.assignments);
    UpgradeTable table = loadUpgradeTable(arguments.image);
    applyAll(table, pairs, setUpgradeField);
    saveUpgradeTable(arguments.image, table);
    context.print(upgradeJson(arguments.image));
}

CLI::App* addSetCommand(CLI::App& parent, SetArguments& arguments, const std::string& what) {
    CLI::App* set = parent.add_subcommand("set", "Change fields of " + what);
    set->add_option("IMAGE", arguments.image, "The image file")->required();
    return set;
}

void addAssignments(CLI::App& set, SetArguments& arguments, const std::string& keys) {
    set.add_option("KEY=VALUE", arguments.assignments, keys);
}

} // namespace

void addUnitSet(CLI::App& unit, CliContext& context) {
    auto arguments = std::make_shared<SetArguments>();
    CLI::App* set = addSetCommand(unit, *arguments, "a unit record");
    set->add_option("SEL", arguments->selector, "#N (index from 0) or the exact unit name")
        ->required();
    addAssignments(*set, *arguments,
                   "Keys as `unit get` prints them; terrain.air, ability1 to ability4");
    set->callback([&context, arguments] { setUnit(context, *arguments); });
}

void addWeaponSet(CLI::App& weapon, CliContext& context) {
    auto arguments = std::make_shared<SetArguments>();
    CLI::App* set = addSetCommand(weapon, *arguments, "a weapon record");
    set->add_option("N", arguments->weapon, "The weapon number")
        ->required()
        ->check(CLI::Range(0, kWeaponNumberLimit - 1));
    addAssignments(*set, *arguments, "Keys as `weapon get` prints them; terrain.air");
    set->callback([&context, arguments] { setWeapon(context, *arguments); });
}

void addUpgradeSet(CLI::App& upgrade, CliContext& context) {
    auto arguments = std::make_shared<SetArguments>();
    CLI::App* set = addSetCommand(upgrade, *arguments, "the upgrade table");
    addAssignments(*set, *arguments,
                   "ROW.K for stage K (1-10), or ROW=V1,...,V10; ROW as `upgrade get` prints it");
    set->callback([&context, arguments] { setUpgrade(context, *arguments); });
}

} // namespace starfall::cli
