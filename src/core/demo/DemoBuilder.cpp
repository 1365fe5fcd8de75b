#include "core/demo/DemoBuilder.h"

#include "core/demo/DemoContent.h"
#include "core/demo/DemoImage.h"

#include "core/io/CoreError.h"
#include "core/codec/Cp949.h"
#include "core/lists/ListFiles.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecord.h"
#include "core/pilot/PilotRecordKind.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitLayout.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponRecord.h"
#include "core/upgrade/UpgradeTable.h"

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

std::vector<std::uint8_t> pilotValues(const DemoPilot& pilot, PilotRecordKind kind) {
    std::vector<std::uint8_t> values;
    if (hasStatBlock(kind))
        values.insert(values.end(), pilot.stats.begin(), pilot.stats.end());
    if (hasSpiritBlock(kind))
        values.insert(values.end(), pilot.spirits.begin(), pilot.spirits.end());
    if (hasStatBlock(kind))
        values.push_back(pilot.personality);
    return values;
}

void placeSkills(DemoImage& image, const PilotReference& reference,
                 const std::vector<SkillBytes>& skills) {
    const Position start = skillTablePosition(reference.name, reference.position);
    for (std::size_t i = 0; i < skills.size(); ++i) {
        const SkillSlotPositions at =
            skillSlotPositions(reference.name, start, static_cast<int>(i + 1));
        image.put("skill table", at.code, skills[i].code);
        image.put("skill table", at.level, skills[i].level);
    }
    if (skills.size() < static_cast<std::size_t>(kMaxSkillSlots)) {
        const int end = static_cast<int>(skills.size()) + 1;
        image.put("skill table", skillSlotPositions(reference.name, start, end).code, 0);
    }
}

void placePilots(DemoImage& image) {
    for (const DemoPilot& pilot : demoPilots()) {
        const PilotReference reference{pilot.address, kPilotBase + pilot.address,
                                       cp949::fromUtf8(pilot.name)};
        const PilotRecordKind kind = classifyPilotRecord(pilot.address);
        image.put(pilot.name, pilotRecordPositions(reference, kind), pilotValues(pilot, kind));
        if (opensSkillTable(kind))
            placeSkills(image, reference, pilot.skills);
    }
}

// The record, then the weapon list behind it: count at L - 2, and for each
// entry its two number bytes and two further bytes of our own.
void placeUnits(DemoImage& image) {
    for (const DemoUnit& unit : demoUnits()) {
        const UnitPlace place{unit.address, kUnitBase + unit.address, cp949::fromUtf8(unit.name)};
        // The demo lists its bytes as stored from P - 4 on; the layout reads
        // the repair cost last.
        std::vector<std::uint8_t> values(unit.record.begin() + 2, unit.record.end());
        values.push_back(unit.record[0]);
        values.push_back(unit.record[1]);
        image.put(unit.name, unitRecordPositions(place), values);
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

void placeWeapons(DemoImage& image) {
    for (const DemoWeapon& weapon : demoWeapons()) {
        const auto positions = weaponBytePositions(weapon.number);
        image.put(weapon.name, positions, weapon.record);
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
