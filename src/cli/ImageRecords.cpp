#include "cli/ImageRecords.h"

#include "cli/RecordViews.h"
#include "core/lists/ListFiles.h"
#include "core/lists/NameListReader.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponIni.h"

namespace starfall::cli {

namespace {

std::set<int> listedIn(const std::string& image, const NameList& units) {
    std::set<int> numbers;
    for (const NameListEntry& entry : units.entries) {
        const Position listStart = unitWeaponListStart(units.positionOf(entry));
        for (const NamedWeapon& weapon :
             loadNamedWeaponList(image, entry.name, entry.addressText, listStart, {}))
            numbers.insert(weapon.number);
    }
    return numbers;
}

nlohmann::json sectionJson(const std::vector<std::unique_ptr<RecordView>>& records) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& record : records)
        out.push_back(record->json());
    return out;
}

} // namespace

nlohmann::json ImageRecords::json() const {
    return {{"units", sectionJson(units)},
            {"pilots", sectionJson(pilots)},
            {"skills", sectionJson(skills)},
            {"weapons", sectionJson(weapons)},
            {"upgrade", upgrade->json()}};
}

ImageRecords ImageRecords::withBytes(std::span<const ByteRun> runs) const {
    const auto section = [runs](const std::vector<std::unique_ptr<RecordView>>& records) {
        std::vector<std::unique_ptr<RecordView>> out;
        for (const auto& record : records)
            out.push_back(record->withBytes(runs));
        return out;
    };
    return {section(units), section(pilots), section(skills), section(weapons),
            upgrade->withBytes(runs)};
}

void ImageRecords::visit(
    const std::function<void(std::string_view section, const RecordView&)>& visitor) const {
    for (const auto& [name, records] : {std::pair{"units", &units},
                                        {"pilots", &pilots},
                                        {"skills", &skills},
                                        {"weapons", &weapons}}) {
        for (const auto& record : *records)
            visitor(name, *record);
    }
    visitor("upgrade", *upgrade);
}

std::set<int> listedWeapons(const std::string& image, const ListFolders& directory) {
    return listedIn(image, loadNameList(directory, ListKind::Units));
}

ImageRecords loadImageRecords(const std::string& image, const ListFolders& directory,
                              const std::set<int>& alsoWeapons) {
    const NameList units = loadNameList(directory, ListKind::Units);
    std::set<int> weapons = listedIn(image, units);
    weapons.insert(alsoWeapons.begin(), alsoWeapons.end());
    const NameList pilots = loadNameList(directory, ListKind::Pilots);
    ImageRecords records;
    for (std::size_t i = 0; i < units.entries.size(); ++i)
        records.units.push_back(unitView(image, units, i));
    for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
        records.pilots.push_back(pilotView(image, pilots, i));
        if (hasSkillTable(pilots, i))
            records.skills.push_back(skillTableView(image, pilots, i));
    }
    for (const int number : weapons)
        records.weapons.push_back(weaponView(image, number));
    records.upgrade = upgradeView(image);
    return records;
}

} // namespace starfall::cli
