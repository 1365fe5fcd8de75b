#include "cli/ListedRecordPrinter.h"

#include "cli/DecodedNames.h"
#include "cli/RecordViews.h"
#include "core/codec/Cp949.h"
#include "core/io/ImageAccess.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordKind.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/WeaponFields.h"
#include "core/weapon/WeaponRecord.h"

#include <algorithm>
#include <numeric>

namespace starfall::cli {

ListedRecordPrinter::ListedRecordPrinter(const std::string& image, NestedWriter& writer)
    : m_image(image), m_writer(writer), m_unit(unitFields(), m_codes),
      m_weapon(weaponFields(), m_codes) {}

std::string_view ListedRecordPrinter::utf8(const std::string& cp949) {
    if (DecodedNames* names = DecodedNames::current())
        return names->utf8(cp949);
    m_name = cp949::toUtf8(cp949);
    return m_name;
}

void ListedRecordPrinter::addNaming(const NameList& list, std::size_t index) {
    const NameListEntry& entry = list.entries.at(index);
    std::vector<DottedValue>& values = m_writer.scratch();
    values.clear();
    const std::int32_t address = entry.address();
    values.push_back({"address", std::int64_t{address}});
    values.push_back({"index", static_cast<std::int64_t>(index)});
    values.push_back({"name", utf8(entry.name)});
    values.push_back({"position", list.positionAt(address)});
}

void ListedRecordPrinter::unit(const NameList& units, std::size_t index, JsonStream& out) {
    const std::vector<int>& bytes =
        m_listed.bytes(m_image, KeptRecordBytes::List::Units, units, units.entries.at(index),
                       [&] { return unitRecordPositions(UnitPlace::fromList(units, index)); });
    addNaming(units, index);
    m_unit.append(bytes, m_writer.scratch());
    if (!m_writer.write(out, m_writer.scratch(), &m_unit))
        unitView(m_image, units, index)->write(out, m_writer);
}

void ListedRecordPrinter::pilot(const NameList& pilots, std::size_t index, JsonStream& out) {
    const NameListEntry& entry = pilots.entries.at(index);
    const PilotRecordKind kind = classifyPilotRecord(entry.address());
    const std::vector<int>& bytes =
        m_listed.bytes(m_image, KeptRecordBytes::List::Pilots, pilots, entry, [&] {
            return pilotRecordPositions(PilotReference::fromList(pilots, index), kind);
        });
    std::optional<FieldPrinter>& printer = m_pilots.at(static_cast<std::size_t>(kind));
    if (!printer)
        printer.emplace(pilotFields(kind), m_codes);
    addNaming(pilots, index);
    m_writer.scratch().push_back({"kind", kindName(kind)});
    printer->append(bytes, m_writer.scratch());
    if (!m_writer.write(out, m_writer.scratch(), &*printer))
        pilotView(m_image, pilots, index)->write(out, m_writer);
}

void ListedRecordPrinter::weapon(int number, JsonStream& out) {
    readBytes(m_image, weaponSavePositions(number), m_weaponBytes);
    std::vector<DottedValue>& values = m_writer.scratch();
    values.clear();
    values.push_back({"number", std::int64_t{number}});
    values.push_back({"position", std::int64_t{weaponRecordPosition(number)}});
    m_weapon.append(m_weaponBytes, values);
    if (!m_writer.write(out, values, &m_weapon))
        weaponView(m_image, number)->write(out, m_writer);
}

namespace {

// What the writer knows the keys of a slot, and those of a table around
// its slots, by: their addresses.
constexpr char kSlotKeys = 0;
constexpr char kTableKeys = 0;

} // namespace

ListedRecordPrinter::SkillPrint::SkillPrint(const FieldTable<SkillTable>& table, std::size_t slots,
                                            PrintedCodes& codes)
    : fields(table, codes), slots(slots), plain(table.size() == 2 * slots) {}

// A table prints as one object around the list of its slots, each slot an
// object of three: one print plan for all the tables and one for all the
// slots, where a plan of every key of a table cost as much as the rest of
// the table's printing, once for each count of slots.
void ListedRecordPrinter::skillTable(const NameList& pilots, std::size_t index, JsonStream& out) {
    const NameListEntry& entry = pilots.entries.at(index);
    const Position start = skillTablePosition(entry.name, pilots.positionOf(entry));
    const std::vector<int>& bytes =
        m_listed.bytes(m_image, KeptRecordBytes::List::SkillTables, pilots, entry,
                       [&] { return skillTableReadPositions(entry.name, start); });
    const SkillTable shape = skillTableShape(entry.name, start, bytes);
    const std::size_t slots = shape.slots.size();
    if (!m_skills || m_skills->slots < slots)
        m_skills.emplace(skillLayout(shape, true, bytes.size()).fields(), slots, m_codes);
    std::vector<DottedValue>& values = m_writer.scratch();
    values.clear();
    m_skills->fields.append(bytes, values, 2 * slots);
    bool plain = m_skills->plain;
    m_slots.restart(out.depth() + 1); // the value of the table's "slots"
    m_slots.beginArray();
    for (std::size_t slot = 0; plain && slot < slots; ++slot) {
        const std::array<DottedValue, 3> slotValues{
            {{"level", values[2 * slot + 1].value},
             {"locked", PrintedText{shape.slots[slot].locked ? "true" : "false"}},
             {"skill", values[2 * slot].value}}};
        plain = m_writer.write(m_slots, slotValues, &kSlotKeys);
    }
    m_slots.endArray();
    const std::array<DottedValue, 4> tableValues{{{"index", static_cast<std::int64_t>(index)},
                                                  {"name", utf8(entry.name)},
                                                  {"position", std::int64_t{start}},
                                                  {"slots", PrintedText{m_slots.keptText()}}}};
    if (!plain || !m_writer.write(out, tableValues, &kTableKeys))
        skillTableView(m_image, pilots, index)->write(out, m_writer);
}

// Each row a list of its stages' values, the rows in the order of their
// keys: printed as they come, where a print plan of the table's ninety keys
// cost as much as the rest of the export's upgrade table.
void ListedRecordPrinter::upgradeTable(JsonStream& out) {
    static const std::array<std::size_t, kUpgradeRowCount> kRowsByKey = [] {
        std::array<std::size_t, kUpgradeRowCount> rows{};
        std::iota(rows.begin(), rows.end(), std::size_t{0});
        std::sort(rows.begin(), rows.end(), [](std::size_t a, std::size_t b) {
            return kUpgradeRows[a].key < kUpgradeRows[b].key;
        });
        return rows;
    }();
    constexpr auto kStages = static_cast<std::size_t>(kUpgradeStageCount);
    const FieldTable<UpgradeTable>& fields = upgradeFields();
    if (fields.size() != kUpgradeRowCount * kStages) { // not row after row
        upgradeView(m_image)->write(out, m_writer);
        return;
    }
    readBytes(m_image, upgradeTablePositions(), m_upgradeBytes);
    std::vector<DottedValue>& values = m_writer.scratch();
    values.clear();
    FieldPrinter(fields, m_codes).append(m_upgradeBytes, values);
    out.beginObject();
    for (const std::size_t row : kRowsByKey) {
        out.key(kUpgradeRows[row].key);
        out.beginArray();
        for (std::size_t stage = 0; stage < kStages; ++stage)
            out.value(values[row * kStages + stage].value);
        out.endArray();
    }
    out.endObject();
}

} // namespace starfall::cli
