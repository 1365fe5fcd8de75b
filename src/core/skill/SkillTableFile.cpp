#include "core/skill/SkillTableFile.h"

#include "core/codec/ByteCodec.h"
#include "core/io/ImageAccess.h"
#include "core/pilot/PilotFields.h"
#include "core/skill/SkillTableLayout.h"
#include "core/text/RecordNames.h"

namespace starfall {

namespace {

// Code and level of every slot read, in the order of the read plan; the
// positions beyond them are never written.
std::vector<std::uint8_t> encodeSkillTable(const SkillTable& table, std::size_t size) {
    std::vector<std::uint8_t> values(size, 0);
    for (std::size_t i = 0; i < table.slots.size() && 2 * i + 1 < size; ++i) {
        const SkillSlot& slot = table.slots[i];
        values[2 * i] = SkillItems::encode(slot.skill, slot.storedCode);
        values[2 * i + 1] = ByteCodec::encode(slot.level);
    }
    return values;
}

} // namespace

SkillTable decodeSkillTable(std::string_view nameCp949, Position tableStart,
                            std::span<const int> bytes) {
    SkillTable table{std::string(nameCp949), tableStart, {}, {}};
    for (std::size_t i = 0; i + 1 < bytes.size() && table.slots.size() < kMaxSkillSlots; i += 2) {
        const int code = bytes[i];
        const int level = bytes[i + 1];
        if (code == 0 || code == kEndOfFile || level == kEndOfFile)
            break;
        const int slot = static_cast<int>(table.slots.size()) + 1;
        table.slots.push_back({SkillItems::decode(code), ByteCodec::decode(level),
                               isSkillSlotLocked(nameCp949, slot),
                               static_cast<std::uint8_t>(code)});
    }
    table.loaded.bytes.assign(bytes.begin(), bytes.end());
    return table;
}

SkillTable loadSkillTable(const std::string& imagePath, std::string_view nameCp949,
                          Position tableStart) {
    const auto positions = skillTableReadPositions(nameCp949, tableStart);
    return decodeSkillTable(nameCp949, tableStart, readBytes(imagePath, positions));
}

std::vector<ByteWrite> skillTableSavePlan(const SkillTable& table) {
    const auto positions = skillTableReadPositions(table.name, table.start);
    return recordSavePlan(skillFields(table), positions, encodeSkillTable(table, positions.size()),
                          table, [&table](std::span<const int> bytes) {
                              return decodeSkillTable(table.name, table.start, bytes);
                          });
}

void saveSkillTable(const std::string& imagePath, SkillTable& table) {
    writeRecordSave(imagePath, skillTableReadPositions(table.name, table.start),
                    skillTableSavePlan(table), table.loaded, messages::skillTableLabel(table.name));
}

} // namespace starfall
