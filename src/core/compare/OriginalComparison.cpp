#include "core/compare/OriginalComparison.h"

#include "core/codec/Cp949.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/sector/SectorCodes.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"
#include "core/unit/UnitRecordFile.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/UnitWeaponList.h"
#include "core/weapon/WeaponFields.h"
#include "core/weapon/WeaponRecord.h"

#include <algorithm>
#include <set>

namespace starfall {

namespace {

// A value as `diff` prints it: a number's digits, a choice's item text or
// its unlisted code.
template <typename Record>
std::string valueText(const Field<Record>& field, const Record& record) {
    const FieldValue value = field.get(record);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    const ListChoice& choice = std::get<ListChoice>(value);
    if (const auto index = choice.index())
        return std::string(field.items[static_cast<std::size_t>(*index)]);
    if (const auto code = choice.unlistedCode())
        return std::to_string(*code);
    return "null";
}

template <typename Record>
std::vector<FieldChange> fieldChanges(const FieldTable<Record>& fields, const Record& before,
                                      const Record& after) {
    std::vector<FieldChange> out;
    for (const Field<Record>& field : fields) {
        std::string old = valueText(field, before);
        std::string now = valueText(field, after);
        if (old != now)
            out.push_back({field.key, std::move(old), std::move(now)});
    }
    return out;
}

// Reads a record's fields from both images, only when its bytes changed.
class RecordWalk {
public:
    // Without an original, the records the bytes touch are named without fields.
    RecordWalk(const std::string* original, const std::string& image, OriginalComparison& out)
        : m_original(original), m_image(image), m_out(out) {}

    template <typename Record, typename Load>
    bool visit(const std::vector<Position>& positions, RecordChange change,
               const FieldTable<Record>& fields, Load load) {
        m_known.insert(m_known.end(), positions.begin(), positions.end());
        if (!m_out.bytes.touchesAny(positions))
            return false;
        if (m_original == nullptr) {
            m_out.records.push_back(std::move(change));
            return true;
        }
        change.fields = fieldChanges(fields, load(*m_original), load(m_image));
        if (!change.fields.empty())
            m_out.records.push_back(std::move(change));
        return true;
    }
    // Sorted positions of every record visited.
    [[nodiscard]] std::vector<Position> known() {
        std::sort(m_known.begin(), m_known.end());
        return std::move(m_known);
    }

private:
    const std::string* m_original;
    const std::string& m_image;
    OriginalComparison& m_out;
    std::vector<Position> m_known;
};

std::set<int> listedWeapons(const std::string& image, const NameList& units) {
    std::set<int> numbers;
    for (const NameListEntry& entry : units.entries) {
        const Position start = unitWeaponListStart(units.positionOf(entry));
        for (const NamedWeapon& weapon :
             loadNamedWeaponList(image, entry.name, entry.addressText, start, {}))
            numbers.insert(weapon.number);
    }
    return numbers;
}

void walkUnits(RecordWalk& walk, OriginalComparison& out, const NameList& units) {
    out.unitChanged.assign(units.entries.size(), false);
    for (std::size_t i = 0; i < units.entries.size(); ++i) {
        const UnitPlace place = UnitPlace::fromList(units, i);
        out.unitChanged[i] = walk.visit(
            unitRecordPositions(place), {"units", i, cp949::toUtf8(place.name), {}}, unitFields(),
            [&place](const std::string& image) { return loadUnitRecord(image, place); });
    }
}

// Each weapon once, in number order; a unit is marked for a weapon it lists.
void walkWeapons(RecordWalk& walk, OriginalComparison& out, const NameList& units,
                 const std::string* original, const std::string& image) {
    std::set<int> numbers = listedWeapons(image, units);
    if (original != nullptr) {
        const std::set<int> before = listedWeapons(*original, units);
        numbers.insert(before.begin(), before.end());
    }
    std::set<int> changed;
    for (const int number : numbers) {
        if (walk.visit(weaponSavePositions(number),
                       {"weapons", static_cast<std::size_t>(number), {}, {}}, weaponFields(),
                       [number](const std::string& path) { return loadWeaponRecord(path, number); }))
            changed.insert(number);
    }
    for (std::size_t i = 0; i < units.entries.size() && !changed.empty(); ++i) {
        const NameListEntry& entry = units.entries[i];
        const Position start = unitWeaponListStart(units.positionOf(entry));
        for (const NamedWeapon& weapon :
             loadNamedWeaponList(image, entry.name, entry.addressText, start, {})) {
            if (changed.contains(weapon.number))
                out.unitChanged[i] = true;
        }
    }
}

int sectionRank(const std::string& section) {
    static const char* const kOrder[] = {"units", "pilots", "skills", "weapons", "upgrade"};
    return static_cast<int>(std::find(std::begin(kOrder), std::end(kOrder), section) -
                            std::begin(kOrder));
}

// The changed bytes no record holds: ranges, and sector codes apart.
void countOthers(OriginalComparison& out, const std::vector<Position>& known, bool raw) {
    Position last = -2;
    for (const auto& [start, end] : out.bytes.runs()) {
        for (Position p = start; p < end; ++p) {
            if (std::binary_search(known.begin(), known.end(), p))
                continue;
            if (raw && p % sector::kSectorBytes >= sector::kDataFinish) {
                ++out.sectorCodeBytes;
                continue;
            }
            if (p != last + 1)
                ++out.otherRanges;
            ++out.otherBytes;
            last = p;
        }
    }
}

void walkPilots(RecordWalk& walk, OriginalComparison& out, const NameList& pilots,
                const std::string& image) {
    out.pilotChanged.assign(pilots.entries.size(), false);
    for (std::size_t i = 0; i < pilots.entries.size(); ++i) {
        const PilotReference reference = PilotReference::fromList(pilots, i);
        const PilotRecordKind kind = classifyPilotRecord(reference.address);
        const std::string name = cp949::toUtf8(reference.name);
        bool changed = walk.visit(
            pilotRecordPositions(reference, kind), {"pilots", i, name, {}}, pilotFields(kind),
            [&reference](const std::string& image) { return loadPilotRecord(image, reference); });
        if (opensSkillTable(kind)) {
            const NameListEntry& entry = pilots.entries[i];
            const Position start = skillTablePosition(entry.name, pilots.positionOf(entry));
            const SkillTable shape = loadSkillTable(image, entry.name, start);
            changed = walk.visit(skillTableReadPositions(entry.name, start),
                                 {"skills", i, name, {}}, skillFields(shape),
                                 [&entry, start](const std::string& image) {
                                     return loadSkillTable(image, entry.name, start);
                                 }) ||
                      changed;
        }
        out.pilotChanged[i] = changed;
    }
}

} // namespace

void ChangedBytes::add(Position start, std::size_t length) {
    const Position end = start + static_cast<Position>(length);
    if (!m_runs.empty() && m_runs.back().second == start)
        m_runs.back().second = end;
    else
        m_runs.emplace_back(start, end);
}

bool ChangedBytes::touches(Position position) const {
    const auto after = std::upper_bound(
        m_runs.begin(), m_runs.end(), position,
        [](Position p, const std::pair<Position, Position>& run) { return p < run.first; });
    return after != m_runs.begin() && position < std::prev(after)->second;
}

bool ChangedBytes::touchesAny(const std::vector<Position>& positions) const {
    return !m_runs.empty() && std::any_of(positions.begin(), positions.end(),
                                          [this](Position p) { return touches(p); });
}

std::string RecordChange::line() const {
    std::string out = section;
    if (section == "weapons")
        out += ' ' + std::to_string(index);
    else if (section != "upgrade")
        out += " #" + std::to_string(index) + ' ' + name;
    const char* separator = ": ";
    for (const FieldChange& field : fields) {
        out += separator + field.key + ' ' + field.before + " -> " + field.after;
        separator = ", ";
    }
    return out;
}

const RecordChange* OriginalComparison::find(std::string_view section, std::size_t index) const {
    for (const RecordChange& record : records) {
        if (record.section == section && record.index == index)
            return &record;
    }
    return nullptr;
}

namespace {

// Names the records `out.bytes` touches, with their fields' two values when
// there is an original, and counts the bytes no record holds.
void describe(OriginalComparison& out, const std::string* original, const std::string& image,
              const NameList& units, const NameList& pilots) {
    const ImageReadScope imageScope(image);
    RecordWalk walk(original, image, out);
    walkUnits(walk, out, units);
    walkPilots(walk, out, pilots, image);
    walkWeapons(walk, out, units, original, image);
    out.upgradeChanged = walk.visit(upgradeTablePositions(), {"upgrade", 0, {}, {}},
                                    upgradeFields(), [](const std::string& path) {
                                        return loadUpgradeTable(path);
                                    });
    std::stable_sort(out.records.begin(), out.records.end(),
                     [](const RecordChange& a, const RecordChange& b) {
                         return sectionRank(a.section) < sectionRank(b.section);
                     });
    const std::vector<std::uint8_t> head = readRange(image, 0, sector::kSync.size());
    countOthers(out, walk.known(),
                head.size() == sector::kSync.size() &&
                    std::equal(sector::kSync.begin(), sector::kSync.end(), head.begin()));
}

} // namespace

OriginalComparison compareWithOriginal(const std::string& original, const std::string& image,
                                       const NameList& units, const NameList& pilots,
                                       const WorkProgress& progress) {
    OriginalComparison out;
    const ImageComparison sizes = compareImages(
        original, image,
        [&out](Position start, std::size_t length) { out.bytes.add(start, length); }, progress);
    if (sizes.baseSize != sizes.otherSize)
        throw CoreError(Failure::ImageSizesDiffer, image, -1,
                        std::to_string(sizes.baseSize) + " ≠ " + std::to_string(sizes.otherSize));
    const ImageReadScope originalScope(original);
    describe(out, &original, image, units, pilots);
    return out;
}

OriginalComparison touchedRecords(ChangedBytes bytes, const std::string& image,
                                  const NameList& units, const NameList& pilots) {
    OriginalComparison out;
    out.bytes = std::move(bytes);
    describe(out, nullptr, image, units, pilots);
    return out;
}

std::vector<std::string> OriginalComparison::textLines() const {
    std::vector<std::string> lines;
    for (const RecordChange& record : records)
        lines.push_back(record.line());
    lines.push_back("other bytes: " + std::to_string(otherBytes) + " in " +
                    std::to_string(otherRanges) + " ranges; sector codes: " +
                    std::to_string(sectorCodeBytes) + " bytes");
    return lines;
}

} // namespace starfall
