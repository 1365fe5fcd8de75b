#include "cli/EditedSectors.h"

#include "cli/CliContext.h"

#include "core/lists/NameListReader.h"
#include "core/pilot/PilotLayout.h"
#include "core/skill/SkillTable.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitLayout.h"
#include "core/weapon/WeaponRecord.h"
#include "core/upgrade/UpgradeTable.h"

#include <charconv>

namespace starfall::cli {

namespace {

void addPilotPositions(const NameList& pilots, std::vector<Position>& positions) {
    for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
        const PilotReference pilot = PilotReference::fromList(pilots, i);
        const auto record = pilotRecordPositions(pilot);
        positions.insert(positions.end(), record.begin(), record.end());
        // Every slot a table can reach, whatever its stored length.
        const Position table = skillTablePosition(pilot.name, pilot.position);
        for (int slot = 1; slot <= kMaxSkillSlots; ++slot) {
            const SkillSlotPositions at = skillSlotPositions(pilot.name, table, slot);
            positions.push_back(at.code);
            positions.push_back(at.level);
        }
    }
}

void addUnitPositions(const NameList& units, std::vector<Position>& positions) {
    for (std::size_t i = 0; i < units.entries.size(); ++i) {
        const auto record = unitRecordPositions(UnitPlace::fromList(units, i));
        positions.insert(positions.end(), record.begin(), record.end());
    }
}

std::int64_t parseIndex(std::string_view digits, const std::string& text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || value < 0)
        throw UsageError("--sectors wants A-B or A (sector indexes from 0), not '" + text + "'");
    return value;
}

} // namespace

std::vector<SectorRange> editedSectors(const ListFolders& directory) {
    std::vector<Position> positions;
    addPilotPositions(loadNameList(directory, ListKind::Pilots), positions);
    addUnitPositions(loadNameList(directory, ListKind::Units), positions);
    for (int number = 0; number < kWeaponNumberLimit; ++number) {
        const auto weapon = weaponSavePositions(number);
        positions.insert(positions.end(), weapon.begin(), weapon.end());
    }
    const auto upgrade = upgradeTablePositions();
    positions.insert(positions.end(), upgrade.begin(), upgrade.end());
    return sectorRangesOf(positions);
}

SectorRange parseSectorRange(const std::string& text) {
    const std::size_t dash = text.find('-');
    const std::string_view whole(text);
    const std::int64_t first = parseIndex(whole.substr(0, dash), text);
    const std::int64_t last =
        dash == std::string::npos ? first : parseIndex(whole.substr(dash + 1), text);
    if (last < first)
        throw UsageError("--sectors: the range " + text + " ends before it starts");
    return {first, last};
}

} // namespace starfall::cli
