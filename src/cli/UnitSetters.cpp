#include "cli/Assignments.h"
#include "cli/RecordSetters.h"

#include "pilot/TerrainRank.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace starfall::cli {

namespace {

// In the order of the records' terrain arrays.
constexpr std::array<std::string_view, 4> kTerrainKeys = {"terrain.air", "terrain.space",
                                                          "terrain.land", "terrain.sea"};

std::optional<std::size_t> terrainIndex(std::string_view key) {
    const auto* found = std::find(kTerrainKeys.begin(), kTerrainKeys.end(), key);
    if (found == kTerrainKeys.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - kTerrainKeys.begin());
}

template <typename Record>
using TextKeys = std::map<std::string, std::string Record::*, std::less<>>;

const TextKeys<UnitRecord>& unitNumberKeys() {
    static const TextKeys<UnitRecord> keys = {{"movement", &UnitRecord::movement},
                                              {"armor", &UnitRecord::armor},
                                              {"mobility", &UnitRecord::mobility},
                                              {"limit", &UnitRecord::limit},
                                              {"en", &UnitRecord::en},
                                              {"hp", &UnitRecord::hp},
                                              {"repair_cost", &UnitRecord::repairCost}};
    return keys;
}

const TextKeys<WeaponRecord>& weaponNumberKeys() {
    static const TextKeys<WeaponRecord> keys = {{"attack", &WeaponRecord::attack},
                                                {"hit", &WeaponRecord::hit},
                                                {"range_near", &WeaponRecord::rangeNear},
                                                {"range_far", &WeaponRecord::rangeFar},
                                                {"ammo", &WeaponRecord::ammo},
                                                {"en", &WeaponRecord::en},
                                                {"morale", &WeaponRecord::morale}};
    return keys;
}

// The list fields of a unit record, once the number fields are ruled out.
bool setUnitChoice(UnitRecord& record, const std::string& key, const std::string& value) {
    if (key == "parts_slots")
        record.partsSlots = itemNamed(key, value, kPartsSlotItems);
    else if (key == "movement_type")
        record.movementType = itemNamed(key, value, kMovementTypeItems);
    else if (const auto terrain = terrainIndex(key))
        record.terrain[*terrain] = itemNamed(key, value, TerrainRank::kItems);
    else if (const auto ability = numberedKey(key, "ability", record.abilities.size(), ""))
        record.abilities[*ability] = itemNamed(key, value, kUnitAbilityItems);
    else
        return false;
    return true;
}

bool setWeaponChoice(WeaponRecord& record, const std::string& key, const std::string& value) {
    if (key == "critical")
        record.critical = itemNamed(key, value, kCriticalRateItems);
    else if (key == "upgrade_type")
        record.upgradeType = itemNamed(key, value, kUpgradeTypeItems);
    else if (const auto terrain = terrainIndex(key))
        record.terrain[*terrain] = itemNamed(key, value, kWeaponTerrainItems);
    else
        return false;
    return true;
}

} // namespace

void setUnitField(UnitRecord& record, const std::string& key, const std::string& value) {
    if (const auto number = unitNumberKeys().find(key); number != unitNumberKeys().end())
        record.*(number->second) = value;
    else if (setUnitChoice(record, key, value))
        return;
    else if (key == "name" || key == "address" || key == "position")
        fixedKey(key);
    else
        unknownKey(key);
}

void setWeaponField(WeaponRecord& record, const std::string& key, const std::string& value) {
    if (const auto number = weaponNumberKeys().find(key); number != weaponNumberKeys().end())
        record.*(number->second) = value;
    else if (setWeaponChoice(record, key, value))
        return;
    else if (key == "number" || key == "position")
        fixedKey(key);
    else
        unknownKey(key);
}

} // namespace starfall::cli
