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

enum class Section { Units, Pilots, Skills, Weapons };

// The sections of the lists and the weapons, in the order they are visited.
struct SectionOf {
    const char* name;
    Section section;
    std::vector<std::unique_ptr<RecordView>> ImageRecords::*records;
};
constexpr SectionOf kSections[] = {{"units", Section::Units, &ImageRecords::units},
                                   {"pilots", Section::Pilots, &ImageRecords::pilots},
                                   {"skills", Section::Skills, &ImageRecords::skills},
                                   {"weapons", Section::Weapons, &ImageRecords::weapons}};

nlohmann::json sectionJson(const std::vector<std::unique_ptr<RecordView>>& records) {
    nlohmann::json out = nlohmann::json::array();
    for (const auto& record : records)
        out.push_back(record->json());
    return out;
}

} // namespace

nlohmann::json ImageRecords::json() const {
    nlohmann::json out = nlohmann::json::object();
    for (const SectionOf& kind : kSections)
        out[kind.name] = sectionJson(this->*kind.records);
    out["upgrade"] = upgrade->json();
    return out;
}

void ImageRecords::visit(
    const std::function<void(std::string_view section, const RecordView&)>& visitor) const {
    for (const SectionOf& kind : kSections) {
        for (const auto& record : this->*kind.records)
            visitor(kind.name, *record);
    }
    visitor("upgrade", *upgrade);
}

std::set<int> listedWeapons(const std::string& image, const ListFolders& directory) {
    return listedIn(image, loadNameList(directory, ListKind::Units));
}

namespace {

// What every record of an image is made from: the lists and the weapons.
struct RecordSource {
    NameList units;
    NameList pilots;
    std::set<int> weapons;
};

RecordSource recordSource(const std::string& image, const ListFolders& directory,
                          const std::set<int>& alsoWeapons) {
    RecordSource source{loadNameList(directory, ListKind::Units), {}, {}};
    source.weapons = listedIn(image, source.units);
    source.weapons.insert(alsoWeapons.begin(), alsoWeapons.end());
    source.pilots = loadNameList(directory, ListKind::Pilots);
    return source;
}

// One record of a section, made from any image read through the same lists.
using RecordMaker = std::function<std::unique_ptr<RecordView>(const std::string& image)>;

// The records of one section, one at a time in the order they print.
void makeRecords(const RecordSource& source, Section section,
                 const std::function<void(const RecordMaker&)>& take) {
    switch (section) {
    case Section::Units:
        for (std::size_t i = 0; i < source.units.entries.size(); ++i)
            take([&source, i](const std::string& image) {
                return unitView(image, source.units, i);
            });
        break;
    case Section::Pilots:
        for (std::size_t i = 0; i < source.pilots.entries.size(); ++i)
            take([&source, i](const std::string& image) {
                return pilotView(image, source.pilots, i);
            });
        break;
    case Section::Skills:
        for (std::size_t i = 0; i < source.pilots.entries.size(); ++i) {
            if (hasSkillTable(source.pilots, i))
                take([&source, i](const std::string& image) {
                    return skillTableView(image, source.pilots, i);
                });
        }
        break;
    case Section::Weapons:
        for (const int number : source.weapons)
            take([number](const std::string& image) { return weaponView(image, number); });
        break;
    }
}

} // namespace

ImageRecords loadImageRecords(const std::string& image, const ListFolders& directory,
                              const std::set<int>& alsoWeapons) {
    const RecordSource source = recordSource(image, directory, alsoWeapons);
    ImageRecords records;
    for (const SectionOf& kind : kSections) {
        std::vector<std::unique_ptr<RecordView>>& out = records.*kind.records;
        makeRecords(source, kind.section,
                    [&out, &image](const RecordMaker& make) { out.push_back(make(image)); });
    }
    records.upgrade = upgradeView(image);
    return records;
}

void visitImageRecords(
    const std::string& image, const std::string* other, const ListFolders& directory,
    const std::set<int>& alsoWeapons,
    const std::function<void(std::string_view, const RecordView&, const RecordView*)>& visit) {
    const RecordSource source = recordSource(image, directory, alsoWeapons);
    const auto each = [&](std::string_view name, const RecordMaker& make) {
        const std::unique_ptr<RecordView> record = make(image);
        const std::unique_ptr<RecordView> inOther = other != nullptr ? make(*other) : nullptr;
        visit(name, *record, inOther.get());
    };
    for (const SectionOf& kind : kSections)
        makeRecords(source, kind.section,
                    [&each, &kind](const RecordMaker& make) { each(kind.name, make); });
    each("upgrade", [](const std::string& path) { return upgradeView(path); });
}

void writeImageRecords(const std::string& image, const ListFolders& directory, JsonStream& out) {
    const RecordSource source = recordSource(image, directory, {});
    NestedWriter writer;
    // Every record prints from its bytes.
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
    listed.upgradeTable(out);
    section("weapons", Section::Weapons);
    out.endObject();
}

} // namespace starfall::cli
