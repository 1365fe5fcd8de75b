#include "cli/RecordViews.h"

#include "cli/CliContext.h"
#include "core/lists/ListFiles.h"
#include "core/lists/NameListReader.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"
#include "core/text/RecordNames.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"
#include "core/unit/UnitRecordFile.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponFields.h"

#include <algorithm>
#include <regex>

namespace starfall::cli {

namespace {

template <typename Record>
std::unique_ptr<RecordView> viewOf(Record record, RecordKindOps<Record> ops,
                                   RecordView::Naming naming) {
    return std::make_unique<TableRecordView<Record>>(std::move(record), std::move(ops),
                                                     std::move(naming));
}

// A kind's one table, shared by every view without a copy.
template <typename Record>
std::function<std::shared_ptr<const FieldTable<Record>>(const Record&)>
fixedTable(const FieldTable<Record>& table) {
    return [&table](const Record&) {
        return std::shared_ptr<const FieldTable<Record>>(std::shared_ptr<void>(), &table);
    };
}

// A list entry's fixed values, made when a view is first asked for them.
// Built member by member: a list of pairs builds and copies every value
// twice. `kind`: a pilot record's kind, or none.
std::function<nlohmann::json()> listEntryNaming(const NameList& list, std::size_t index,
                                                std::string_view kind = {}) {
    const NameListEntry& entry = list.entries.at(index);
    return [name = entry.name, index, address = entry.address(), position = list.positionOf(entry),
            kind] {
        nlohmann::json naming = nlohmann::json::object();
        auto& members = naming.get_ref<nlohmann::json::object_t&>();
        members.emplace("name", nameJson(name));
        members.emplace("index", index);
        members.emplace("address", address);
        members.emplace("position", position);
        if (!kind.empty())
            members.emplace("kind", kind);
        return naming;
    };
}

// A key of the full record that a StatsOnly or SpiritsOnly record lacks.
std::optional<std::string> pilotLacks(PilotRecordKind kind, std::string_view key) {
    for (const auto& field : pilotFields(PilotRecordKind::Full)) {
        if (field.key == key)
            return "a " + std::string(kindName(kind)) + " pilot record has no '" +
                   std::string(key) + "'";
    }
    return std::nullopt;
}

std::optional<std::string> skillSlotLacks(std::size_t slotCount, std::string_view key) {
    // Most keys asked about are the table's other values (slots.N.locked):
    // they are told apart before the pattern, which costs far more.
    if (!key.starts_with("slots.") || !(key.ends_with(".skill") || key.ends_with(".level")))
        return std::nullopt;
    static const std::regex slotKey(R"(slots\.([1-9][0-9]?)\.(skill|level))");
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_match(key.begin(), key.end(), match, slotKey))
        return std::nullopt;
    const std::size_t slot = std::stoul(match[1].str());
    if (slot > static_cast<std::size_t>(kMaxSkillSlots))
        return std::nullopt;
    if (slot > slotCount)
        return "'" + std::string(key) + "': the table has " + std::to_string(slotCount) + " slots";
    return "'" + std::string(key) + "': slot " + std::to_string(slot) + " is locked";
}

} // namespace

std::unique_ptr<RecordView> unitView(const std::string& image, const NameList& units,
                                     std::size_t index) {
    const UnitPlace place = UnitPlace::fromList(units, index);
    RecordKindOps<UnitRecord> ops{
        fixedTable(unitFields()), [place](const UnitRecord&) { return unitRecordPositions(place); },
        [place](const UnitRecord& record) { return unitSavePlan(place, record); },
        [](const UnitRecord&, std::span<const int> bytes) { return decodeUnitRecord(bytes); }};
    return viewOf(loadUnitRecord(image, place), std::move(ops),
                  {listEntryNaming(units, index),
                   {},
                   [name = place.name] { return messages::unitRecordLabel(name); },
                   {}});
}

std::unique_ptr<RecordView> pilotView(const std::string& image, const NameList& pilots,
                                      std::size_t index) {
    const PilotReference reference = PilotReference::fromList(pilots, index);
    const PilotRecordKind kind = classifyPilotRecord(reference.address);
    RecordKindOps<PilotRecord> ops{
        fixedTable(pilotFields(kind)),
        [reference, kind](const PilotRecord&) { return pilotRecordPositions(reference, kind); },
        [reference](const PilotRecord& record) { return pilotSavePlan(reference, record); },
        [kind](const PilotRecord&, std::span<const int> bytes) {
            return decodePilotRecord(kind, bytes);
        }};
    return viewOf(loadPilotRecord(image, reference), std::move(ops),
                  {listEntryNaming(pilots, index, kindName(kind)),
                   {},
                   [name = reference.name] { return messages::pilotRecordLabel(name); },
                   [kind](std::string_view key) { return pilotLacks(kind, key); }});
}

std::unique_ptr<RecordView> selectedView(const ListFolders& directory, ListKind kind,
                                         const std::string& image, std::string_view selector,
                                         ListedView make) {
    const NameList list = loadNameListUntil(directory, kind, selectorWanted(selector));
    return make(image, list, selectEntry(list, selector));
}

bool hasSkillTable(const NameList& pilots, std::size_t index) {
    return opensSkillTable(classifyPilotRecord(pilots.entries.at(index).address()));
}

std::unique_ptr<RecordView> skillTableView(const std::string& image, const NameList& pilots,
                                           std::size_t index) {
    const NameListEntry& entry = pilots.entries.at(index);
    if (!hasSkillTable(pilots, index))
        throw UsageError("pilot '" + nameJson(entry.name).get<std::string>() +
                         "' is StatsOnly: the editor opens no skill table for it");
    const Position start = skillTablePosition(entry.name, pilots.positionOf(entry));
    SkillTable table = loadSkillTable(image, entry.name, start);
    RecordKindOps<SkillTable> ops{
        [](const SkillTable& t) {
            // The shared layout's table, without a copy.
            return std::shared_ptr<const FieldTable<SkillTable>>(std::shared_ptr<void>(),
                                                                 &skillLayout(t).fields());
        },
        [](const SkillTable& t) { return skillTableReadPositions(t.name, t.start); },
        [](const SkillTable& t) { return skillTableSavePlan(t); },
        [](const SkillTable& t, std::span<const int> bytes) {
            return decodeSkillTable(t.name, t.start, bytes);
        }};
    std::vector<bool> locked;
    for (const SkillSlot& slot : table.slots)
        locked.push_back(slot.locked);
    auto fixed = [name = entry.name, index, start, locked] {
        nlohmann::json fixed = nlohmann::json::object();
        auto& members = fixed.get_ref<nlohmann::json::object_t&>();
        members.emplace("name", nameJson(name));
        members.emplace("index", index);
        members.emplace("position", start);
        for (std::size_t slot = 0; slot < locked.size(); ++slot)
            members.emplace("slots." + std::to_string(slot + 1) + ".locked", bool(locked[slot]));
        return fixed;
    };
    nlohmann::json shown = nlohmann::json::object();
    if (table.slots.empty())
        shown["slots"] = nlohmann::json::array(); // printed as an empty list, not left out
    const bool anyLocked = std::any_of(table.slots.begin(), table.slots.end(),
                                       [](const SkillSlot& slot) { return slot.locked; });
    static const FieldTable<SkillTable> kNone;
    for (const auto& field : anyLocked ? skillLayout(table, true).fields() : kNone) {
        if (table.slots[field.bits.front().byte / 2].locked)
            shown[field.key] = valueJson(shapeOf(field), field.get(table),
                                         field.storedCode(table.loaded.bytes), true);
    }
    const std::size_t slotCount = table.slots.size();
    return viewOf(std::move(table), std::move(ops),
                  {std::move(fixed), std::move(shown),
                   [name = entry.name] { return messages::skillTableLabel(name); },
                   [slotCount](std::string_view key) { return skillSlotLacks(slotCount, key); }});
}

std::unique_ptr<RecordView> weaponView(const std::string& image, int number) {
    RecordKindOps<WeaponRecord> ops{
        fixedTable(weaponFields()),
        [number](const WeaponRecord&) { return weaponSavePositions(number); },
        [number](const WeaponRecord& record) { return weaponSavePlan(number, record); },
        [](const WeaponRecord&, std::span<const int> bytes) { return decodeWeaponRecord(bytes); }};
    return viewOf(
        loadWeaponRecord(image, number), std::move(ops),
        {[number] {
             return nlohmann::json{{"number", number}, {"position", weaponRecordPosition(number)}};
         },
         {},
         [number] { return messages::weaponRecordLabel(number); },
         {}});
}

std::unique_ptr<RecordView> upgradeView(const std::string& image) {
    RecordKindOps<UpgradeTable> ops{
        fixedTable(upgradeFields()), [](const UpgradeTable&) { return upgradeTablePositions(); },
        [](const UpgradeTable& table) { return upgradeTableSavePlan(table); },
        [](const UpgradeTable&, std::span<const int> bytes) { return decodeUpgradeTable(bytes); }};
    return viewOf(loadUpgradeTable(image), std::move(ops),
                  {{}, {}, &messages::upgradeTableLabel, {}});
}

nlohmann::json weaponListJson(const std::string& image, const NameList& units, std::size_t index,
                              const ListFolders& directory) {
    const NameListEntry& entry = units.entries.at(index);
    const Position listStart = unitWeaponListStart(units.positionOf(entry));
    nlohmann::json weapons = nlohmann::json::array();
    for (const NamedWeapon& weapon : loadNamedWeaponList(
             image, entry.name, entry.addressText, listStart, directory.pathOf(kWeaponNamesFile))) {
        weapons.push_back(
            {{"index", weapon.index}, {"number", weapon.number}, {"name", nameJson(weapon.name)}});
    }
    return {{"name", nameJson(entry.name)},
            {"list_position", weaponListPosition(entry.name, entry.addressText, listStart)},
            {"weapons", weapons}};
}

} // namespace starfall::cli
