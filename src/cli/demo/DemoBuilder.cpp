#include "cli/demo/DemoBuilder.h"

#include "cli/demo/DemoContent.h"
#include "cli/demo/DemoImage.h"

#include "image/CoreError.h"
#include "image/Cp949.h"
#include "lists/ListFiles.h"
#include "pilot/PilotLayout.h"
#include "pilot/PilotRecord.h"
#include "pilot/PilotRecordKind.h"
#include "pilot/SkillTableLayout.h"
#include "upgrade/UpgradeTable.h"

#include <fstream>
#include <sstream>

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
            table.values[row][stage] = demoUpgradeRows()[row][stage];
    }
    image.put("upgrade table", upgradeTablePositions(), encodeUpgradeTable(table));
}

} // namespace

void writeDemo(const std::string& directory) {
    const std::string dir =
        directory.empty() || directory.back() == '/' ? directory : directory + "/";
    DemoImage image(kImageSize);
    placePilots(image);
    placeUpgradeTable(image);
    image.saveTo(dir + kDemoImageName);
    writeTextFile(dir + std::string(listFileName(ListKind::Pilots)),
                  listFile("demo pilots", "CHAR", kPilotBase, demoPilots()));
    writeTextFile(dir + std::string(listFileName(ListKind::Units)),
                  listFile("demo units", "UNIT", kUnitBase, demoUnits()));
    writeTextFile(dir + std::string(kWeaponNamesFile), weaponNamesFile());
}

} // namespace starfall::demo
