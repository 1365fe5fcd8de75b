#include "cli/CommandArguments.h"

#include "cli/SectorCodesReport.h"
#include "core/weapon/WeaponRecord.h"

#include <CLI/CLI.hpp>

namespace starfall::cli {

CLI::App* addRecordVerb(CLI::App& noun, const std::string& verb, const std::string& description,
                        RecordArguments& arguments) {
    CLI::App* command = noun.add_subcommand(verb, description);
    command->add_option("IMAGE", arguments.image, "The image file")->required();
    return command;
}

void addSelector(CLI::App& verb, RecordArguments& arguments, const std::string& what) {
    verb.add_option("SEL", arguments.selector, "#N (index from 0) or the exact " + what + " name")
        ->required();
}

void addWeaponNumber(CLI::App& verb, RecordArguments& arguments) {
    verb.add_option("N", arguments.number, "The weapon number")
        ->required()
        ->check(CLI::Range(0, kWeaponNumberLimit - 1));
}

void addAssignments(CLI::App& verb, RecordArguments& arguments, const std::string& keys) {
    verb.add_option("KEY=VALUE", arguments.assignments, keys);
    verb.add_flag("--as-typed", arguments.asTyped,
                  "Take each number as text typed into the editor's box (decimal parse, cut to "
                  "the field's width) instead of checking its range");
    addSaveFlags(verb, arguments.keepCodes);
}

} // namespace starfall::cli
