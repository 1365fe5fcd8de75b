#include "cli/CliContext.h"
#include "cli/FieldValues.h"

#include "core/pilot/PilotFields.h"
#include "core/skill/SkillFields.h"
#include "core/unit/UnitFields.h"
#include "core/weapon/WeaponFields.h"
#include "core/upgrade/UpgradeTable.h"

#include <CLI/CLI.hpp>

namespace starfall::cli {

namespace {

template <typename Record> nlohmann::json tableJson(const FieldTable<Record>& fields) {
    nlohmann::json out = nlohmann::json::array();
    for (const Field<Record>& field : fields) {
        const FieldShape shape = shapeOf(field);
        nlohmann::json entry = {{"key", field.key}};
        if (field.kind == FieldKind::Number) {
            entry["kind"] = "number";
            entry["min"] = field.range.min;
            entry["max"] = field.range.max;
        } else {
            entry["kind"] = "list";
            entry["items"] = std::vector<std::string>(field.items.begin(), field.items.end());
            entry["codes"] = std::vector<int>(field.codes.begin(), field.codes.end());
            entry["max_code"] = shape.maxCode;
        }
        out.push_back(std::move(entry));
    }
    return out;
}

// A table of all 19 slots, none locked: every key a skill table can have.
SkillTable fullSkillTable() {
    SkillTable table;
    table.slots.resize(kMaxSkillSlots);
    return table;
}

} // namespace

void addKeysCommand(CLI::App& app, CliContext& context) {
    app.add_subcommand("keys",
                       "List the keys of every record's fields, with their ranges and items")
        ->callback([&context] {
            context.print({{"unit", tableJson(unitFields())},
                           {"pilot", tableJson(pilotFields(PilotRecordKind::Full))},
                           {"skills", tableJson(skillFields(fullSkillTable()))},
                           {"weapon", tableJson(weaponFields())},
                           {"upgrade", tableJson(upgradeFields())}});
        });
}

} // namespace starfall::cli
