#include "core/unit/UnitFields.h"

#include "core/codec/TerrainRank.h"

namespace starfall {

namespace {

using U = UnitRecord;
using W = WeaponRecord;

std::vector<FieldBits> word(std::size_t low) {
    return {{low, 0xFF}, {low + 1, 0xFF}};
}
std::vector<FieldBits> byte(std::size_t at) {
    return {{at, 0xFF}};
}

constexpr std::array<const char*, 4> kTerrainKeys = {"terrain.air", "terrain.space", "terrain.land",
                                                     "terrain.sea"};

FieldTable<U> buildUnitFields() {
    FieldTable<U> fields{
        numberField<U>(
            "movement", byte(0), kByteRange, [](auto& r) -> auto& { return r.movement; }),
        choiceField<U>(
            "parts_slots", {1, 0x30}, kPartsSlotItems, sequentialCodes(4),
            [](auto& r) -> auto& { return r.partsSlots; }),
        choiceField<U>(
            "movement_type", {1, 0x0F}, kMovementTypeItems,
            {kMovementTypeCodes.begin(), kMovementTypeCodes.end()},
            [](auto& r) -> auto& { return r.movementType; }),
        numberField<U>(
            "armor", word(4), kWordRange, [](auto& r) -> auto& { return r.armor; }),
        numberField<U>(
            "mobility", word(6), kWordRange, [](auto& r) -> auto& { return r.mobility; }),
        numberField<U>(
            "limit", word(8), kWordRange, [](auto& r) -> auto& { return r.limit; }),
        numberField<U>(
            "en", word(10), kWordRange, [](auto& r) -> auto& { return r.en; }),
        numberField<U>(
            "hp", word(12), kWordRange, [](auto& r) -> auto& { return r.hp; }),
        numberField<U>(
            "repair_cost", word(18), kWordRange, [](auto& r) -> auto& { return r.repairCost; }),
    };
    // Air and space share byte 2, land and sea byte 3, the first in the high nibble.
    for (std::size_t t = 0; t < kTerrainKeys.size(); ++t) {
        const FieldBits bits{2 + t / 2, static_cast<std::uint8_t>(t % 2 == 0 ? 0xF0 : 0x0F)};
        fields.push_back(choiceField<U>(
            kTerrainKeys[t], bits, TerrainRank::kItems,
            {TerrainRank::kCodes.begin(), TerrainRank::kCodes.end()}, [t](auto& r) -> auto& {
                return r.terrain[t];
            }));
    }
    for (std::size_t a = 0; a < 4; ++a) {
        fields.push_back(choiceField<U>(
            "abilities." + std::to_string(a + 1), {14 + a, 0xFF}, kUnitAbilityItems,
            sequentialCodes(kUnitAbilityItems.size()), [a](auto& r) -> auto& {
                return r.abilities[a];
            }));
    }
    return fields;
}

FieldTable<W> buildWeaponFields() {
    FieldTable<W> fields{
        numberField<W>(
            "attack", word(0), kWordRange, [](auto& r) -> auto& { return r.attack; }),
        numberField<W>(
            "hit", byte(2), {-128, 127}, [](auto& r) -> auto& { return r.hit; }),
        choiceField<W>(
            "critical", {3, 0xF0}, kCriticalRateItems, sequentialCodes(kCriticalRateItems.size()),
            [](auto& r) -> auto& { return r.critical; }),
        choiceField<W>(
            "upgrade_type", {3, 0x0F}, kUpgradeTypeItems, sequentialCodes(kUpgradeTypeItems.size()),
            [](auto& r) -> auto& { return r.upgradeType; }),
        numberField<W>(
            "range_near", byte(4), kByteRange, [](auto& r) -> auto& { return r.rangeNear; }),
        numberField<W>(
            "range_far", byte(5), kByteRange, [](auto& r) -> auto& { return r.rangeFar; }),
        numberField<W>(
            "ammo", byte(7), kByteRange, [](auto& r) -> auto& { return r.ammo; }),
        numberField<W>(
            "en", byte(8), kByteRange, [](auto& r) -> auto& { return r.en; }),
        numberField<W>(
            "morale", byte(9), kByteRange, [](auto& r) -> auto& { return r.morale; }),
    };
    // Byte 6 holds land, sea, air and space from the high bits down; list
    // position = 3 - stored code.
    constexpr std::array<std::uint8_t, 4> kMasks = {0x0C, 0x03, 0xC0, 0x30};
    for (std::size_t t = 0; t < kTerrainKeys.size(); ++t) {
        fields.push_back(choiceField<W>(
            kTerrainKeys[t], {6, kMasks[t]}, kWeaponTerrainItems,
            {kWeaponTerrainCodes.begin(), kWeaponTerrainCodes.end()}, [t](auto& r) -> auto& {
                return r.terrain[t];
            }));
    }
    return fields;
}

} // namespace

const FieldTable<UnitRecord>& unitFields() {
    static const FieldTable<UnitRecord> fields = buildUnitFields();
    return fields;
}

const FieldTable<WeaponRecord>& weaponFields() {
    static const FieldTable<WeaponRecord> fields = buildWeaponFields();
    return fields;
}

} // namespace starfall
