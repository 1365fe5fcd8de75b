#include "core/pilot/PilotFields.h"

#include "core/pilot/PilotFieldCodecs.h"
#include "core/pilot/PilotLayout.h"
#include "core/codec/TerrainRank.h"

namespace starfall {

namespace {

using P = PilotRecord;

std::vector<FieldBits> word(std::size_t low) {
    return {{low, 0xFF}, {low + 1, 0xFF}};
}

void addStats(FieldTable<P>& fields) {
    // Air and space share byte 0, land and sea byte 1, the first in the high nibble.
    const std::vector<int> codes(TerrainRank::kCodes.begin(), TerrainRank::kCodes.end());
    fields.push_back(choiceField<P>(
        "terrain.air", {0, 0xF0}, TerrainRank::kItems, codes,
        [](auto& r) -> auto& { return r.stats.air; }));
    fields.push_back(choiceField<P>(
        "terrain.space", {0, 0x0F}, TerrainRank::kItems, codes,
        [](auto& r) -> auto& { return r.stats.space; }));
    fields.push_back(choiceField<P>(
        "terrain.land", {1, 0xF0}, TerrainRank::kItems, codes,
        [](auto& r) -> auto& { return r.stats.land; }));
    fields.push_back(choiceField<P>(
        "terrain.sea", {1, 0x0F}, TerrainRank::kItems, codes,
        [](auto& r) -> auto& { return r.stats.sea; }));
    fields.push_back(numberField<P>(
        "melee", {{2, 0xFF}}, kByteRange, [](auto& r) -> auto& { return r.stats.melee; }));
    fields.push_back(numberField<P>(
        "shooting", {{3, 0xFF}}, kByteRange, [](auto& r) -> auto& { return r.stats.shooting; }));
    fields.push_back(numberField<P>(
        "hit", word(4), kWordRange, [](auto& r) -> auto& { return r.stats.hit; }));
    fields.push_back(numberField<P>(
        "evasion", word(6), kWordRange, [](auto& r) -> auto& { return r.stats.evasion; }));
    fields.push_back(numberField<P>(
        "sp", word(8), kWordRange, [](auto& r) -> auto& { return r.stats.spiritPoints; }));
    fields.push_back(numberField<P>(
        "skill", word(10), kWordRange, [](auto& r) -> auto& { return r.stats.skill; }));
    fields.push_back(numberField<P>(
        "reaction", word(12), kWordRange, [](auto& r) -> auto& { return r.stats.reaction; }));
}

void addSpirits(FieldTable<P>& fields, std::size_t first) {
    for (std::size_t i = 0; i < kSpiritCount; ++i) {
        const std::string key = "spirits." + std::to_string(i + 1);
        fields.push_back(choiceField<P>(
            key + ".command", {first + 2 * i, 0xFF}, SpiritCommand::kItems,
            sequentialCodes(SpiritCommand::kItems.size(), 1), [i](auto& r) -> auto& {
                return r.spirits[i].command;
            }));
        fields.push_back(numberField<P>(
            key + ".level", {{first + 2 * i + 1, 0xFF}},
            kByteRange, [i](auto& r) -> auto& { return r.spirits[i].level; }));
    }
}

// The planned bytes: stat block, spirit block, then the personality byte.
FieldTable<P> buildPilotFields(PilotRecordKind kind) {
    FieldTable<P> fields;
    std::size_t next = 0;
    if (hasStatBlock(kind)) {
        addStats(fields);
        next += kStatBlockSize;
    }
    if (hasSpiritBlock(kind)) {
        addSpirits(fields, next);
        next += kSpiritBlockSize;
    }
    if (hasStatBlock(kind)) {
        fields.push_back(choiceField<P>(
            "personality", {next, 0x30}, Personality::kItems,
            sequentialCodes(Personality::kItems.size()),
            [](auto& r) -> auto& { return r.personality; }));
    }
    return fields;
}

} // namespace

const FieldTable<PilotRecord>& pilotFields(PilotRecordKind kind) {
    static const FieldTable<P> full = buildPilotFields(PilotRecordKind::Full);
    static const FieldTable<P> statsOnly = buildPilotFields(PilotRecordKind::StatsOnly);
    static const FieldTable<P> spiritsOnly = buildPilotFields(PilotRecordKind::SpiritsOnly);
    switch (kind) {
    case PilotRecordKind::StatsOnly:
        return statsOnly;
    case PilotRecordKind::SpiritsOnly:
        return spiritsOnly;
    case PilotRecordKind::Full:
        break;
    }
    return full;
}

FieldTable<SkillTable> skillFields(const SkillTable& table, bool withLocked) {
    FieldTable<SkillTable> fields;
    for (std::size_t i = 0; i < table.slots.size(); ++i) {
        if (table.slots[i].locked && !withLocked)
            continue;
        const std::string key = "slots." + std::to_string(i + 1);
        fields.push_back(choiceField<SkillTable>(
            key + ".skill", {2 * i, 0xFF}, SkillItems::kItems,
            sequentialCodes(SkillItems::kItems.size(), SkillItems::kFirstCode),
            [i](auto& t) -> auto& { return t.slots.at(i).skill; }));
        fields.push_back(numberField<SkillTable>(
            key + ".level", {{2 * i + 1, 0xFF}},
            kByteRange, [i](auto& t) -> auto& { return t.slots.at(i).level; }));
    }
    return fields;
}

} // namespace starfall
