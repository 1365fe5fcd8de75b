#pragma once

// Each verb of starfall-cli registers itself as a subcommand here.

namespace CLI {
class App;
}

namespace starfall::cli {

struct CliContext;

void addUnitsCommand(CLI::App& app, CliContext& context);    // units
void addPilotsCommand(CLI::App& app, CliContext& context);   // pilots
void addPilotCommand(CLI::App& app, CliContext& context);    // pilot get, pilot set
void addSkillsCommand(CLI::App& app, CliContext& context);   // skills get, skills set
void addMakeDemoCommand(CLI::App& app, CliContext& context); // make-demo
void addExportCommand(CLI::App& app, CliContext& context);   // export
void addImportCommand(CLI::App& app, CliContext& context);   // import
void addDiffCommand(CLI::App& app, CliContext& context);     // diff
void addKeysCommand(CLI::App& app, CliContext& context);     // keys
void addUnitCommand(CLI::App& app, CliContext& context);     // unit get, unit set
void addWeaponsCommand(CLI::App& app, CliContext& context);  // weapons
void addWeaponCommand(CLI::App& app, CliContext& context);   // weapon get, weapon set
void addUpgradeCommand(CLI::App& app, CliContext& context);  // upgrade get, upgrade set
void addSectorsCommand(CLI::App& app, CliContext& context);  // sectors verify, sectors repair
void addPatchCommand(CLI::App& app, CliContext& context);    // patch make, apply, undo, info

} // namespace starfall::cli
