#include "cli/ExportJson.h"

#include "cli/PilotJson.h"
#include "cli/UnitJson.h"

#include "lists/NameListReader.h"
#include "unit/UnitWeaponList.h"

#include <set>

namespace starfall::cli {

namespace {

nlohmann::json pilotsJson(const std::string& image, const NameList& pilots) {
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < pilots.entries.size(); ++i)
        out.push_back(pilotJson(image, pilots, i));
    return out;
}

// Only the tables the pilot page could open.
nlohmann::json skillsJson(const std::string& image, const NameList& pilots) {
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
        if (hasSkillTable(pilots, i))
            out.push_back(skillTableJson(image, pilots, i));
    }
    return out;
}

// Each weapon some unit lists, once, in number order.
nlohmann::json weaponsJson(const std::string& image, const NameList& units,
                           const std::string& directory) {
    std::set<int> numbers;
    for (std::size_t i = 0; i < units.entries.size(); ++i) {
        const nlohmann::json list = weaponListJson(image, units, i, directory);
        for (const auto& weapon : list["weapons"])
            numbers.insert(weapon["number"].get<int>());
    }
    nlohmann::json out = nlohmann::json::array();
    for (const int number : numbers)
        out.push_back(weaponJson(image, number));
    return out;
}

} // namespace

nlohmann::json exportJson(const std::string& image, const std::string& directory) {
    const NameList units = loadNameList(directory, ListKind::Units);
    const NameList pilots = loadNameList(directory, ListKind::Pilots);
    nlohmann::json unitRecords = nlohmann::json::array();
    for (std::size_t i = 0; i < units.entries.size(); ++i)
        unitRecords.push_back(unitJson(image, units, i));
    return {{"units", std::move(unitRecords)},
            {"pilots", pilotsJson(image, pilots)},
            {"skills", skillsJson(image, pilots)},
            {"weapons", weaponsJson(image, units, directory)},
            {"upgrade", upgradeJson(image)}};
}

} // namespace starfall::cli
