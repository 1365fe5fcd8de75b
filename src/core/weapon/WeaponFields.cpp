#include "core/weapon/WeaponFields.h"

#include "core/record/TerrainFields.h"

namespace starfall {

namespace {

using W = WeaponRecord;

// Offsets from the record's start. Byte 9 and bytes 11-16 are not edited.
FieldTable<W> weaponTable() {
    FieldTable<W> fields{
        numberField<W>(
            "attack", wordAt(0), kWordRange, [](auto& r) -> auto& { return r.attack; }),
        numberField<W>(
            "hit", byteAt(2), {-128, 127}, [](auto& r) -> auto& { return r.hit; },
            signedByteTextCodec()),
        choiceField<W>(
            "critical", {3, 0xF0}, kCriticalRateItems, sequentialCodes(kCriticalRateItems.size()),
            [](auto& r) -> auto& { return r.critical; }),
        choiceField<W>(
            "upgrade_type", {3, 0x0F}, kUpgradeTypeItems, sequentialCodes(kUpgradeTypeItems.size()),
            [](auto& r) -> auto& { return r.upgradeType; }),
        numberField<W>(
            "range_near", byteAt(4), kByteRange, [](auto& r) -> auto& { return r.rangeNear; }),
        numberField<W>(
            "range_far", byteAt(5), kByteRange, [](auto& r) -> auto& { return r.rangeFar; }),
        numberField<W>(
            "ammo", byteAt(7), kByteRange, [](auto& r) -> auto& { return r.ammo; }),
        numberField<W>(
            "en", byteAt(8), kByteRange, [](auto& r) -> auto& { return r.en; }),
        numberField<W>(
            "morale", byteAt(10), kByteRange, [](auto& r) -> auto& { return r.morale; }),
    };
    // Byte 6 holds land, sea, air and space from the high bits down; list
    // position = 3 - stored code.
    constexpr std::array<std::uint8_t, 4> kMasks = {0x0C, 0x03, 0xC0, 0x30};
    const KeptCodes codes(kWeaponTerrainCodes);
    for (std::size_t t = 0; t < kTerrainKeys.size(); ++t) {
        fields.push_back(choiceField<W>(
            kTerrainKeys[t], {6, kMasks[t]}, kWeaponTerrainItems,
            codes, [t](auto& r) -> auto& { return r.terrain[t]; }));
    }
    return fields;
}

} // namespace

const RecordLayout<WeaponRecord>& weaponLayout() {
    static const RecordLayout<WeaponRecord> layout(weaponTable());
    return layout;
}

} // namespace starfall
