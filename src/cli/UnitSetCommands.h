#pragma once

// The `set` verbs of unit, weapon and upgrade: load the record, apply every
// KEY=VALUE pair, save through the core and print the record as read back.

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

void addUnitSet(CLI::App& unit, CliContext& context);       // unit set IMAGE SEL KEY=VALUE...
void addWeaponSet(CLI::App& weapon, CliContext& context);   // weapon set IMAGE N KEY=VALUE...
void addUpgradeSet(CLI::App& upgrade, CliContext& context); // upgrade set IMAGE KEY=VALUE...

} // namespace starfall::cli
