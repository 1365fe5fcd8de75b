#include "cli/Assignments.h"
#include "cli/CliContext.h"
#include "cli/Commands.h"
#include "cli/PilotJson.h"

#include "lists/NameListReader.h"
#include "pilot/PilotFieldCodecs.h"
#include "pilot/PilotRecordFile.h"
#include "pilot/TerrainRank.h"

#include <CLI/CLI.hpp>

#include <map>
#include <memory>

namespace starfall::cli {

namespace {

struct PilotArguments {
    std::string image;
    std::string selector;
    std::vector<std::string> assignments;
};

const std::map<std::string, std::string PilotStats::*, std::less<>>& numberKeys() {
    static const std::map<std::string, std::string PilotStats::*, std::less<>> keys = {
        {"melee", &PilotStats::melee},      {"shooting", &PilotStats::shooting},
        {"hit", &PilotStats::hit},          {"evasion", &PilotStats::evasion},
        {"sp", &PilotStats::spiritPoints},  {"skill", &PilotStats::skill},
        {"reaction", &PilotStats::reaction}};
    return keys;
}

const std::map<std::string, ListChoice PilotStats::*, std::less<>>& terrainKeys() {
    static const std::map<std::string, ListChoice PilotStats::*, std::less<>> keys = {
        {"terrain.air", &PilotStats::air},
        {"terrain.space", &PilotStats::space},
        {"terrain.land", &PilotStats::land},
        {"terrain.sea", &PilotStats::sea}};
    return keys;
}

void requireBlock(bool present, std::string_view key, PilotRecordKind kind,
                  std::string_view block) {
    if (!present) {
        throw UsageError("key '" + std::string(key) + "': a " + std::string(kindName(kind)) +
                         " record has no " + std::string(block));
    }
}

// "spiritN.command" or "spiritN.level" with N from 1 to 6.
bool setSpirit(PilotRecord& record, const std::string& key, const std::string& value) {
    constexpr std::string_view prefix = "spirit";
    if (key.size() < prefix.size() + 2 || key.compare(0, prefix.size(), prefix) != 0)
        return false;
    const char digit = key[prefix.size()];
    const std::string field = key.substr(prefix.size() + 1);
    if (digit < '1' || digit > '6' || (field != ".command" && field != ".level"))
        return false;
    requireBlock(hasSpiritBlock(record.kind), key, record.kind, "spirit block");
    SpiritEntry& spirit = record.spirits[static_cast<std::size_t>(digit - '1')];
    if (field == ".level")
        spirit.level = value;
    else
        spirit.command = itemNamed(key, value, SpiritCommand::kItems);
    return true;
}

void setField(PilotRecord& record, const std::string& key, const std::string& value) {
    const bool stats = hasStatBlock(record.kind);
    if (const auto number = numberKeys().find(key); number != numberKeys().end()) {
        requireBlock(stats, key, record.kind, "stat block");
        record.stats.*(number->second) = value;
    } else if (const auto terrain = terrainKeys().find(key); terrain != terrainKeys().end()) {
        requireBlock(stats, key, record.kind, "stat block");
        record.stats.*(terrain->second) = itemNamed(key, value, TerrainRank::kItems);
    } else if (key == "personality") {
        requireBlock(stats, key, record.kind, "personality");
        record.personality = itemNamed(key, value, Personality::kItems);
    } else if (!setSpirit(record, key, value)) {
        unknownKey(key);
    }
}

void setPilot(const CliContext& context, const PilotArguments& arguments) {
    const auto pairs = parseAssignments(arguments.assignments);
    const NameList list = loadNameList(context.directory(), ListKind::Pilots);
    const PilotReference reference =
        PilotReference::fromList(list, selectEntry(list, arguments.selector));
    PilotRecord record = loadPilotRecord(arguments.image, reference);
    for (const auto& [key, value] : pairs)
        setField(record, key, value);
    savePilotRecord(arguments.image, reference, record);
    context.print(pilotRecordJson(reference, loadPilotRecord(arguments.image, reference)));
}

void addImageAndSelector(CLI::App& command, PilotArguments& arguments) {
    command.add_option("IMAGE", arguments.image, "The image file")->required();
    command.add_option("SEL", arguments.selector, "#N (index from 0) or the exact name")
        ->required();
}

} // namespace

void addPilotCommands(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<PilotArguments>();
    CLI::App* pilot = app.add_subcommand("pilot", "Read or write a pilot record of charlist.ini");
    pilot->require_subcommand(1);

    CLI::App* get = pilot->add_subcommand("get", "Print a pilot record");
    addImageAndSelector(*get, *arguments);
    get->callback([&context, arguments] {
        const NameList list = loadNameList(context.directory(), ListKind::Pilots);
        context.print(pilotJson(arguments->image, list, selectEntry(list, arguments->selector)));
    });

    CLI::App* set = pilot->add_subcommand("set", "Change fields of a pilot record");
    addImageAndSelector(*set, *arguments);
    set->add_option("KEY=VALUE", arguments->assignments, "Fields to change");
    set->callback([&context, arguments] { setPilot(context, *arguments); });
}

} // namespace starfall::cli
