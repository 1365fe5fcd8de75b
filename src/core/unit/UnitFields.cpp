#include "core/unit/UnitFields.h"

#include "core/record/TerrainFields.h"

namespace starfall {

namespace {

using U = UnitRecord;

// Offsets from P. The repair cost lies before the record; the abilities take
// every second byte.
FieldTable<U> unitTable() {
    FieldTable<U> fields{
        numberField<U>(
            "movement", byteAt(0), kByteRange, [](auto& r) -> auto& { return r.movement; }),
        choiceField<U>(
            "parts_slots", {1, 0x30}, kPartsSlotItems, sequentialCodes(4),
            [](auto& r) -> auto& { return r.partsSlots; }),
        choiceField<U>(
            "movement_type", {1, 0x0F}, kMovementTypeItems, KeptCodes(kMovementTypeCodes),
            [](auto& r) -> auto& { return r.movementType; }),
        numberField<U>(
            "armor", wordAt(4), kWordRange, [](auto& r) -> auto& { return r.armor; }),
        numberField<U>(
            "mobility", wordAt(6), kWordRange, [](auto& r) -> auto& { return r.mobility; }),
        numberField<U>(
            "limit", wordAt(8), kWordRange, [](auto& r) -> auto& { return r.limit; }),
        numberField<U>(
            "en", wordAt(10), kWordRange, [](auto& r) -> auto& { return r.en; }),
        numberField<U>(
            "hp", wordAt(12), kWordRange, [](auto& r) -> auto& { return r.hp; }),
        numberField<U>(
            "repair_cost", wordAt(-4), kWordRange, [](auto& r) -> auto& { return r.repairCost; }),
    };
    // Air and space share byte 2, land and sea byte 3, the first in the high nibble.
    for (std::size_t t = 0; t < kTerrainKeys.size(); ++t) {
        const FieldBits bits{static_cast<RecordOffset>(2 + t / 2),
                             static_cast<std::uint8_t>(t % 2 == 0 ? 0xF0 : 0x0F)};
        fields.push_back(terrainRankField<U>(
            kTerrainKeys[t], bits, [t](auto& r) -> auto& { return r.terrain[t]; }));
    }
    const KeptCodes abilityCodes(sequentialCodes(kUnitAbilityItems.size()));
    for (std::size_t a = 0; a < 4; ++a) {
        fields.push_back(choiceField<U>(
            "abilities." + std::to_string(a + 1), {static_cast<RecordOffset>(14 + 2 * a), 0xFF},
            kUnitAbilityItems, abilityCodes, [a](auto& r) -> auto& { return r.abilities[a]; },
            noneAtEnd));
    }
    return fields;
}

} // namespace

const RecordLayout<UnitRecord>& unitLayout() {
    static const RecordLayout<UnitRecord> layout(unitTable());
    return layout;
}

} // namespace starfall
