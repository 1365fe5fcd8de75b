#include "core/pilot/PilotFields.h"

#include "core/pilot/PilotFieldCodecs.h"
#include "core/record/TerrainFields.h"

namespace starfall {

namespace {

using P = PilotRecord;

void addStats(FieldTable<P>& fields) {
    // Air and space share byte 0, land and sea byte 1, the first in the high nibble.
    fields.push_back(terrainRankField<P>(
        kTerrainKeys[0], {0, 0xF0}, [](auto& r) -> auto& { return r.stats.air; }));
    fields.push_back(terrainRankField<P>(
        kTerrainKeys[1], {0, 0x0F}, [](auto& r) -> auto& { return r.stats.space; }));
    fields.push_back(terrainRankField<P>(
        kTerrainKeys[2], {1, 0xF0}, [](auto& r) -> auto& { return r.stats.land; }));
    fields.push_back(terrainRankField<P>(
        kTerrainKeys[3], {1, 0x0F}, [](auto& r) -> auto& { return r.stats.sea; }));
    fields.push_back(numberField<P>(
        "melee", byteAt(2), kByteRange, [](auto& r) -> auto& { return r.stats.melee; }));
    fields.push_back(numberField<P>(
        "shooting", byteAt(3), kByteRange, [](auto& r) -> auto& { return r.stats.shooting; }));
    fields.push_back(numberField<P>(
        "hit", wordAt(4), kWordRange, [](auto& r) -> auto& { return r.stats.hit; }));
    fields.push_back(numberField<P>(
        "evasion", wordAt(6), kWordRange, [](auto& r) -> auto& { return r.stats.evasion; }));
    fields.push_back(numberField<P>(
        "sp", wordAt(8), kWordRange, [](auto& r) -> auto& { return r.stats.spiritPoints; }));
    fields.push_back(numberField<P>(
        "skill", wordAt(10), kWordRange, [](auto& r) -> auto& { return r.stats.skill; }));
    fields.push_back(numberField<P>(
        "reaction", wordAt(12), kWordRange, [](auto& r) -> auto& { return r.stats.reaction; }));
}

// Command and learn level of each of the six, from `first` on.
void addSpirits(FieldTable<P>& fields, RecordOffset first) {
    static const KeptCodes codes(sequentialCodes(SpiritCommand::kItems.size(), 1));
    for (std::size_t i = 0; i < kSpiritCount; ++i) {
        const std::string key = "spirits." + std::to_string(i + 1);
        const RecordOffset at = first + 2 * static_cast<RecordOffset>(i);
        fields.push_back(choiceField<P>(
            key + ".command", {at, 0xFF}, SpiritCommand::kItems,
            codes, [i](auto& r) -> auto& { return r.spirits[i].command; },
            [](StoredBits b, std::span<const int>) { return SpiritCommand::decode(b.value); }));
        fields.push_back(numberField<P>(
            key + ".level", byteAt(at + 1),
            kByteRange, [i](auto& r) -> auto& { return r.spirits[i].level; }));
    }
}

FieldTable<P> pilotTable(PilotRecordKind kind) {
    FieldTable<P> fields;
    if (hasStatBlock(kind))
        addStats(fields);
    if (hasSpiritBlock(kind))
        addSpirits(fields, hasStatBlock(kind) ? kStatBlockSize : 0);
    if (hasStatBlock(kind)) {
        // Bits 5-4; the other six belong to something else.
        fields.push_back(choiceField<P>(
            "personality", {kPersonalityOffset, 0x30}, Personality::kItems,
            sequentialCodes(Personality::kItems.size()),
            [](auto& r) -> auto& { return r.personality; }));
    }
    return fields;
}

} // namespace

const RecordLayout<PilotRecord>& pilotLayout(PilotRecordKind kind) {
    static const RecordLayout<P> full(pilotTable(PilotRecordKind::Full));
    static const RecordLayout<P> statsOnly(pilotTable(PilotRecordKind::StatsOnly));
    static const RecordLayout<P> spiritsOnly(pilotTable(PilotRecordKind::SpiritsOnly));
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

} // namespace starfall
