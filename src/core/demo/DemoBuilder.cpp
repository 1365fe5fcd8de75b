#include "core/demo/DemoBuilder.h"

#include "core/demo/DemoContent.h"
#include "core/demo/DemoImage.h"

#include "core/codec/Cp949.h"
#include "core/io/CoreError.h"
#include "core/lists/ListFiles.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordKind.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponFields.h"
#include "core/weapon/WeaponRecord.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace starfall::demo {

namespace {

// The image reaches just past the upgrade table, the last thing edited.
constexpr Position kImageSize = 46414848;

void writeTextFile(const std::string& path, const std::string& utf8) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << cp949::fromUtf8(utf8);
    out.close();
    if (!out)
        throw CoreError(Failure::WriteFailed, path);
}

template <typename Entries>
std::string listFile(std::string_view comment, std::string_view tag, Position base,
                     const Entries& entries) {
    std::ostringstream text;
    text << "; " << comment << "\n" << tag << " " << base << "\n";
    for (const auto& entry : entries)
        text << entry.name << ", " << entry.address << "\n";
    return text.str();
}

// "key=value; key=value" as pairs.
std::vector<std::pair<std::string_view, std::string_view>> pairsOf(std::string_view text) {
    std::vector<std::pair<std::string_view, std::string_view>> pairs;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find("; "), text.size());
        const std::string_view pair = text.substr(0, end);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos)
            throw std::logic_error("demo: '" + std::string(pair) + "' is not key=value");
        pairs.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
        text.remove_prefix(std::min(end + 2, text.size()));
    }
    return pairs;
}

// A list field's value by item text, or "#code" read as the image would show it.
template <typename Record> FieldValue valueOf(const Field<Record>& field, std::string_view text) {
    if (field.kind == FieldKind::Number)
        return std::string(text);
    if (text.starts_with('#'))
        return field.codec.decode({std::stoi(std::string(text.substr(1))), false});
    const auto found = std::find(field.items.begin(), field.items.end(), text);
    if (found == field.items.end())
        throw std::logic_error("demo: no item '" + std::string(text) + "' for " + field.key);
    return ListChoice::item(static_cast<int>(found - field.items.begin()));
}

// The record's planned bytes with the named fields set, every other field zero.
template <typename Record>
std::vector<std::uint8_t> encodeValues(const RecordLayout<Record>& layout, std::string_view values,
                                       Record record = {}) {
    for (const auto& [key, text] : pairsOf(values)) {
        const Field<Record>* field = findField(layout.fields(), key);
        if (field == nullptr)
            throw std::logic_error("demo: no field " + std::string(key));
        field->set(record, valueOf(*field, text));
    }
    return layout.encode(record);
}

// Places a record through its layout, then the bits no field owns.
template <typename Record, typename Walk>
void placeRecord(DemoImage& image, std::string_view what, const RecordLayout<Record>& layout,
                 Walk walk, std::string_view values, std::span<const DemoBits> otherBits = {}) {
    image.put(what, layout.positions(walk), encodeValues(layout, values));
    for (const DemoBits& other : otherBits) {
        const Position at = walk(other.offset);
        image.put(what, at, image.bytes().at(static_cast<std::size_t>(at)) | other.bits);
    }
}

// The slots given, then a zero code that ends the table.
void placeSkills(DemoImage& image, const PilotReference& reference, std::string_view skills) {
    SkillTable table{
        reference.name, skillTablePosition(reference.name, reference.position), {}, {}};
    std::string values;
    for (const auto& [skill, level] : pairsOf(skills)) {
        table.slots.push_back({});
        const std::string slot = "slots." + std::to_string(table.slots.size());
        values += slot + ".skill=" + std::string(skill) + "; " + slot +
                  ".level=" + std::string(level) + "; ";
    }
    if (!values.empty())
        values.resize(values.size() - 2);
    const auto positions = skillTableReadPositions(table.name, table.start);
    const auto bytes = encodeValues(skillLayout(table, true), values, table);
    const std::size_t used = std::min(2 * table.slots.size() + 1, positions.size());
    image.put("skill table", std::span(positions).first(used), std::span(bytes).first(used));
}

void placePilots(DemoImage& image) {
    for (const DemoPilot& pilot : demoPilots()) {
        const PilotReference reference{pilot.address, kPilotBase + pilot.address,
                                       cp949::fromUtf8(pilot.name)};
        const PilotRecordKind kind = classifyPilotRecord(pilot.address);
        placeRecord(
            image, pilot.name, pilotLayout(kind),
            [&reference](RecordOffset at) { return pilotBytePosition(reference, at); },
            pilot.values, pilot.otherBits);
        if (opensSkillTable(kind))
            placeSkills(image, reference, pilot.skills);
    }
}

// The record, then the weapon list behind it: count at L - 2, and for each
// entry its two number bytes and two further bytes of our own.
void placeUnits(DemoImage& image) {
    for (const DemoUnit& unit : demoUnits()) {
        const UnitPlace place{unit.address, kUnitBase + unit.address, cp949::fromUtf8(unit.name)};
        placeRecord(
            image, unit.name, unitLayout(),
            [&place](RecordOffset at) { return unitBytePosition(place, at); }, unit.values,
            unit.otherBits);
        const Position list = weaponListPosition(place.name, std::to_string(unit.address),
                                                 unitWeaponListStart(place.position));
        image.put(unit.name, list - 2, static_cast<std::uint8_t>(unit.weapons.size()));
        for (std::size_t i = 0; i < unit.weapons.size(); ++i) {
            const auto at = weaponEntryPositions(place.name, list, static_cast<int>(i));
            const std::uint16_t number = unit.weapons[i];
            image.put(unit.name, at[0], static_cast<std::uint8_t>(number & 0xFF));
            image.put(unit.name, at[1],
                      static_cast<std::uint8_t>((number >> 8) | unit.entryHighBits));
            const auto rest = weaponEntryPositions(place.name, list, static_cast<int>(i) + 1);
            // The last two bytes lie directly before the next entry.
            image.put(unit.name, rest[0] - 2, 0);
            image.put(unit.name, rest[0] - 1, 0);
        }
    }
}

// Bytes 9 and 11-16 of every weapon, which the editor never edits.
constexpr std::array<DemoBits, 7> kUneditedWeaponBytes = {
    {{9, 0x5A}, {11, 0x11}, {12, 0x22}, {13, 0x33}, {14, 0x44}, {15, 0x55}, {16, 0x66}}};

void placeWeapons(DemoImage& image) {
    for (const DemoWeapon& weapon : demoWeapons()) {
        placeRecord(
            image, weapon.name, weaponLayout(),
            [&weapon](RecordOffset at) { return weaponBytePosition(weapon.number, at); },
            weapon.values, kUneditedWeaponBytes);
    }
}

std::string weaponNamesFile() {
    std::ostringstream text;
    text << "; demo weapon names\n[WEAPON_NAME]\n";
    for (const DemoWeapon& weapon : demoWeapons())
        text << weapon.number << "=" << weapon.name << "\n";
    return text.str();
}

void placeUpgradeTable(DemoImage& image) {
    UpgradeTable table;
    for (int row = 0; row < kUpgradeRowCount; ++row) {
        for (int stage = 0; stage < kUpgradeStageCount; ++stage)
            table.values[row][stage] = std::to_string(demoUpgradeRows()[row][stage]);
    }
    image.put("upgrade table", upgradeTablePositions(), encodeUpgradeTable(table));
}

} // namespace

std::vector<std::string> demoFiles(const std::string& directory) {
    const std::string dir =
        directory.empty() || directory.back() == '/' ? directory : directory + "/";
    return {dir + kDemoImageName, dir + std::string(listFileName(ListKind::Pilots)),
            dir + std::string(listFileName(ListKind::Units)), dir + std::string(kWeaponNamesFile)};
}

void writeDemo(const std::string& directory, Overwrite overwrite) {
    const std::vector<std::string> files = demoFiles(directory);
    std::vector<std::string> created;
    for (const std::string& file : files) {
        const bool exists =
            std::filesystem::symlink_status(file).type() != std::filesystem::file_type::not_found;
        if (exists && overwrite == Overwrite::Refuse)
            throw std::runtime_error("make-demo: '" + file +
                                     "' exists; nothing was written (--force replaces it)");
        if (!exists)
            created.push_back(file);
    }
    try {
        DemoImage image(kImageSize);
        placePilots(image);
        placeUnits(image);
        placeWeapons(image);
        placeUpgradeTable(image);
        image.saveTo(files[0]);
        writeTextFile(files[1], listFile("demo pilots", "CHAR", kPilotBase, demoPilots()));
        writeTextFile(files[2], listFile("demo units", "UNIT", kUnitBase, demoUnits()));
        writeTextFile(files[3], weaponNamesFile());
    } catch (...) {
        for (const std::string& file : created) {
            std::error_code ignored;
            std::filesystem::remove(file, ignored);
        }
        throw;
    }
}

} // namespace starfall::demo
