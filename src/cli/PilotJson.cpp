#include "cli/PilotJson.h"

#include "cli/Assignments.h"
#include "cli/CliContext.h"
#include "image/TextNumbers.h"
#include "pilot/PilotFieldCodecs.h"
#include "pilot/PilotRecordFile.h"
#include "pilot/SkillTableFile.h"
#include "pilot/SkillTableLayout.h"
#include "pilot/TerrainRank.h"

namespace starfall::cli {

namespace {

// A field the page shows as decimal text is a JSON number.
nlohmann::json number(const std::string& text) {
    return parseDecimal(text);
}

nlohmann::json terrainJson(const PilotStats& stats) {
    return {{"air", choiceJson(stats.air, TerrainRank::kItems)},
            {"space", choiceJson(stats.space, TerrainRank::kItems)},
            {"land", choiceJson(stats.land, TerrainRank::kItems)},
            {"sea", choiceJson(stats.sea, TerrainRank::kItems)}};
}

void addStats(nlohmann::json& out, const PilotRecord& record) {
    const PilotStats& stats = record.stats;
    out["terrain"] = terrainJson(stats);
    out["melee"] = number(stats.melee);
    out["shooting"] = number(stats.shooting);
    out["hit"] = number(stats.hit);
    out["evasion"] = number(stats.evasion);
    out["sp"] = number(stats.spiritPoints);
    out["skill"] = number(stats.skill);
    out["reaction"] = number(stats.reaction);
    out["personality"] = choiceJson(record.personality, Personality::kItems);
}

nlohmann::json spiritsJson(const PilotRecord& record) {
    nlohmann::json spirits = nlohmann::json::array();
    for (const SpiritEntry& spirit : record.spirits) {
        spirits.push_back({{"command", choiceJson(spirit.command, SpiritCommand::kItems)},
                           {"level", number(spirit.level)}});
    }
    return spirits;
}

} // namespace

nlohmann::json pilotRecordJson(const PilotReference& reference, const PilotRecord& record) {
    nlohmann::json out = {{"name", nameJson(reference.name)},
                          {"address", reference.address},
                          {"position", reference.position},
                          {"kind", kindName(record.kind)}};
    if (hasStatBlock(record.kind))
        addStats(out, record);
    if (hasSpiritBlock(record.kind))
        out["spirits"] = spiritsJson(record);
    return out;
}

nlohmann::json pilotJson(const std::string& image, const NameList& list, std::size_t index) {
    const PilotReference reference = PilotReference::fromList(list, index);
    return pilotRecordJson(reference, loadPilotRecord(image, reference));
}

nlohmann::json skillTableJson(const SkillTable& table) {
    nlohmann::json slots = nlohmann::json::array();
    for (const SkillSlot& slot : table.slots) {
        slots.push_back({{"skill", choiceJson(slot.skill, SkillItems::kItems)},
                         {"level", number(slot.level)},
                         {"locked", slot.locked}});
    }
    return {{"name", nameJson(table.name)}, {"position", table.start}, {"slots", std::move(slots)}};
}

bool hasSkillTable(const NameList& list, std::size_t index) {
    return opensSkillTable(classifyPilotRecord(list.entries.at(index).address()));
}

Position skillTableStart(const NameList& list, std::size_t index) {
    const NameListEntry& entry = list.entries.at(index);
    return skillTablePosition(entry.name, list.positionOf(entry));
}

void requireSkillTable(const NameList& list, std::size_t index) {
    if (!hasSkillTable(list, index)) {
        throw UsageError("pilot '" + nameJson(list.entries[index].name).get<std::string>() +
                         "' is StatsOnly: the editor opens no skill table for it");
    }
}

nlohmann::json skillTableJson(const std::string& image, const NameList& list, std::size_t index) {
    requireSkillTable(list, index);
    const NameListEntry& entry = list.entries[index];
    return skillTableJson(loadSkillTable(image, entry.name, skillTableStart(list, index)));
}

} // namespace starfall::cli
