#include "cli/Assignments.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/PilotJson.h"

#include "lists/NameListReader.h"
#include "pilot/SkillTableFile.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <memory>

namespace starfall::cli {

namespace {

struct SkillArguments {
    std::string image;
    std::string selector;
    std::vector<std::string> assignments;
};

struct SlotKey {
    std::size_t slot = 0; // from 1
    bool isSkill = false;
};

// "K.skill" or "K.level" with K a slot number from 1.
SlotKey parseSlotKey(std::string_view key) {
    const auto dot = key.find('.');
    const std::string_view digits = key.substr(0, dot);
    const std::string_view field = dot == std::string_view::npos ? "" : key.substr(dot + 1);
    SlotKey parsed;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), parsed.slot);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        parsed.slot == 0 || (field != "skill" && field != "level"))
        unknownKey(key);
    parsed.isSkill = field == "skill";
    return parsed;
}

void setSlot(SkillTable& table, const std::string& key, const std::string& value) {
    const SlotKey slotKey = parseSlotKey(key);
    if (slotKey.slot > table.slots.size()) {
        throw UsageError("key '" + key + "': the table has " + std::to_string(table.slots.size()) +
                         " slots");
    }
    SkillSlot& slot = table.slots[slotKey.slot - 1];
    if (slot.locked)
        throw UsageError("key '" + key + "': slot " + std::to_string(slotKey.slot) + " is locked");
    if (slotKey.isSkill)
        slot.skill = itemNamed(key, value, SkillItems::kItems);
    else
        slot.level = value;
}

SkillTable loadSelected(const std::string& image, const NameList& list, std::size_t index) {
    requireSkillTable(list, index);
    return loadSkillTable(image, list.entries[index].name, skillTableStart(list, index));
}

void setSkills(const CliContext& context, const SkillArguments& arguments) {
    const auto pairs = parseAssignments(arguments.assignments);
    const NameList list = loadNameList(context.directory(), ListKind::Pilots);
    const std::size_t index = selectEntry(list, arguments.selector);
    SkillTable table = loadSelected(arguments.image, list, index);
    for (const auto& [key, value] : pairs)
        setSlot(table, key, value);
    saveSkillTable(arguments.image, table);
    context.print(skillTableJson(loadSelected(arguments.image, list, index)));
}

void addImageAndSelector(CLI::App& command, SkillArguments& arguments) {
    command.add_option("IMAGE", arguments.image, "The image file")->required();
    command.add_option("SEL", arguments.selector, "#N (index from 0) or the exact pilot name")
        ->required();
}

} // namespace

void addSkillCommands(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<SkillArguments>();
    CLI::App* skills = app.add_subcommand("skills", "Read or write a pilot's skill table");
    skills->require_subcommand(1);

    CLI::App* get = skills->add_subcommand("get", "Print a pilot's skill table");
    addImageAndSelector(*get, *arguments);
    get->callback([&context, arguments] {
        const NameList list = loadNameList(context.directory(), ListKind::Pilots);
        context.print(
            skillTableJson(arguments->image, list, selectEntry(list, arguments->selector)));
    });

    CLI::App* set = skills->add_subcommand("set", "Change slots of a pilot's skill table");
    addImageAndSelector(*set, *arguments);
    set->add_option("KEY=VALUE", arguments->assignments, "K.skill or K.level, K from 1");
    set->callback([&context, arguments] { setSkills(context, *arguments); });
}

} // namespace starfall::cli
