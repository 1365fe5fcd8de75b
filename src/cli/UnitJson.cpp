#include "cli/UnitJson.h"

#include "cli/Assignments.h"
#include "cli/CliContext.h"
#include "image/TextNumbers.h"
#include "lists/ListFiles.h"
#include "pilot/TerrainRank.h"
#include "unit/UnitRecordFile.h"
#include "unit/UnitWeaponList.h"
#include "unit/WeaponRecord.h"
#include "upgrade/UpgradeTable.h"

namespace starfall::cli {

namespace {

nlohmann::json number(const std::string& text) {
    return parseDecimal(text);
}

template <typename Items>
nlohmann::json terrainJson(const std::array<ListChoice, 4>& terrain, const Items& items) {
    return {{"air", choiceJson(terrain[0], items)},
            {"space", choiceJson(terrain[1], items)},
            {"land", choiceJson(terrain[2], items)},
            {"sea", choiceJson(terrain[3], items)}};
}

} // namespace

nlohmann::json unitJson(const std::string& image, const NameList& units, std::size_t index) {
    const UnitPlace place = UnitPlace::fromList(units, index);
    const UnitRecord record = loadUnitRecord(image, place);
    nlohmann::json abilities = nlohmann::json::array();
    for (const ListChoice& ability : record.abilities)
        abilities.push_back(choiceJson(ability, kUnitAbilityItems));
    return {{"name", nameJson(place.name)},
            {"address", place.address},
            {"position", place.position},
            {"movement", number(record.movement)},
            {"parts_slots", choiceJson(record.partsSlots, kPartsSlotItems)},
            {"movement_type", choiceJson(record.movementType, kMovementTypeItems)},
            {"terrain", terrainJson(record.terrain, TerrainRank::kItems)},
            {"armor", number(record.armor)},
            {"mobility", number(record.mobility)},
            {"limit", number(record.limit)},
            {"en", number(record.en)},
            {"hp", number(record.hp)},
            {"repair_cost", number(record.repairCost)},
            {"abilities", abilities}};
}

nlohmann::json weaponListJson(const std::string& image, const NameList& units, std::size_t index,
                              const std::string& directory) {
    const NameListEntry& entry = units.entries.at(index);
    const Position listPosition = unitWeaponListStart(units.positionOf(entry));
    nlohmann::json weapons = nlohmann::json::array();
    for (const NamedWeapon& weapon :
         loadNamedWeaponList(image, entry.name, entry.addressText, listPosition,
                             directory + std::string(kWeaponNamesFile))) {
        weapons.push_back(
            {{"index", weapon.index}, {"number", weapon.number}, {"name", nameJson(weapon.name)}});
    }
    return {{"name", nameJson(entry.name)},
            {"list_position", weaponListPosition(entry.name, entry.addressText, listPosition)},
            {"weapons", weapons}};
}

nlohmann::json weaponJson(const std::string& image, int weaponNumber) {
    const WeaponRecord record = loadWeaponRecord(image, weaponNumber);
    return {{"number", weaponNumber},
            {"position", weaponRecordPosition(weaponNumber)},
            {"attack", number(record.attack)},
            {"hit", number(record.hit)},
            {"critical", choiceJson(record.critical, kCriticalRateItems)},
            {"upgrade_type", choiceJson(record.upgradeType, kUpgradeTypeItems)},
            {"range_near", number(record.rangeNear)},
            {"range_far", number(record.rangeFar)},
            {"terrain", terrainJson(record.terrain, kWeaponTerrainItems)},
            {"ammo", number(record.ammo)},
            {"en", number(record.en)},
            {"morale", number(record.morale)}};
}

nlohmann::json upgradeJson(const std::string& image) {
    const UpgradeTable table = loadUpgradeTable(image);
    nlohmann::json out = nlohmann::json::object();
    for (std::size_t row = 0; row < kUpgradeRows.size(); ++row)
        out[std::string(kUpgradeRows[row].key)] = table.values[row];
    return out;
}

} // namespace starfall::cli
