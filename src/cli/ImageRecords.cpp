#include "cli/ImageRecords.h"

#include "cli/ListedRecordPrinter.h"
#include "cli/RecordViews.h"
#include "core/lists/ListFiles.h"
#include "core/lists/NameListReader.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponIni.h"

#include <string_view>
#include <utility>

namespace starfall::cli {

namespace {

std::set<int> listedIn(const std::string& image, const NameList& units) {
    std::set<int> numbers;
    // A unit's list is read from its name and address alone: an entry that
    // repeats another's adds no number, and long lists name each unit often.
    std::set<std::pair<std::string_view, std::string_view>> read;
    for (const NameListEntry& entry : units.entries) {
        if (!read.emplace(entry.name, entry.addressText).second)
            continue;
        const Position listStart = unitWeaponListStart(units.positionOf(entry));
        // The numbers alone: their names are not needed here.
        for (const int number : loadWeaponNumbers(image, entry.name, entry.addressText, listStart))
            numbers.insert(number);
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

namespace {

// What every record of an image is made from: the lists and the weapons.
struct RecordSource {
    const std::string& image;
    NameList units;
    NameList pilots;
    std::set<int> weapons;
};

RecordSource recordSource(const std::string& image, const ListFolders& directory,
                          const std::set<int>& alsoWeapons) {
    RecordSource source{image, loadNameList(directory, ListKind::Units), {}, {}};
    source.weapons = listedIn(image, source.units);
    source.weapons.insert(alsoWeapons.begin(), alsoWeapons.end());
    source.pilots = loadNameList(directory, ListKind::Pilots);
    return source;
}

enum class Section { Units, Pilots, Skills, Weapons };

// The records of one section, made one at a time in the order they print.
void makeRecords(const RecordSource& source, Section section,
                 const std::function<void(std::unique_ptr<RecordView>)>& take) {
    switch (section) {
    case Section::Units:
        for (std::size_t i = 0; i < source.units.entries.size(); ++i)
            take(unitView(source.image, source.units, i));
        break;
    case Section::Pilots:
        for (std::size_t i = 0; i < source.pilots.entries.size(); ++i)
            take(pilotView(source.image, source.pilots, i));
        break;
    case Section::Skills:
        for (std::size_t i = 0; i < source.pilots.entries.size(); ++i) {
            if (hasSkillTable(source.pilots, i))
                take(skillTableView(source.image, source.pilots, i));
        }
        break;
    case Section::Weapons:
        for (const int number : source.weapons)
            take(weaponView(source.image, number));
        break;
    }
}

} // namespace

ImageRecords loadImageRecords(const std::string& image, const ListFolders& directory,
                              const std::set<int>& alsoWeapons) {
    const RecordSource source = recordSource(image, directory, alsoWeapons);
    ImageRecords records;
    const auto into = [&source](Section section, std::vector<std::unique_ptr<RecordView>>& out) {
        makeRecords(source, section, [&out](std::unique_ptr<RecordView> record) {
            out.push_back(std::move(record));
        });
    };
    into(Section::Units, records.units);
    into(Section::Pilots, records.pilots);
    into(Section::Skills, records.skills);
    into(Section::Weapons, records.weapons);
    records.upgrade = upgradeView(image);
    return records;
}

void writeImageRecords(const std::string& image, const ListFolders& directory, JsonStream& out) {
    const RecordSource source = recordSource(image, directory, {});
    NestedWriter writer;
    // The records of the lists and the weapons, the most of any export, print
    // from their bytes; the one upgrade table through its view.
    ListedRecordPrinter listed(image, writer);
    const auto records = [&](Section which) {
        if (which == Section::Units) {
            for (std::size_t i = 0; i < source.units.entries.size(); ++i)
                listed.unit(source.units, i, out);
        } else if (which == Section::Pilots) {
            for (std::size_t i = 0; i < source.pilots.entries.size(); ++i)
                listed.pilot(source.pilots, i, out);
        } else if (which == Section::Skills) {
            for (std::size_t i = 0; i < source.pilots.entries.size(); ++i) {
                if (hasSkillTable(source.pilots, i))
                    listed.skillTable(source.pilots, i, out);
            }
        } else {
            for (const int number : source.weapons)
                listed.weapon(number, out);
        }
    };
    // The sections in the order of their keys, as the whole document prints them.
    const auto section = [&](std::string_view key, Section which) {
        out.key(key);
        out.beginArray();
        records(which);
        out.endArray();
    };
    out.beginObject();
    section("pilots", Section::Pilots);
    section("skills", Section::Skills);
    section("units", Section::Units);
    out.key("upgrade");
    upgradeView(image)->write(out, writer);
    section("weapons", Section::Weapons);
    out.endObject();
}

} // namespace starfall::cli
