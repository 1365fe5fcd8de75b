#include "core/skill/SkillTableFile.h"

#include "core/codec/ByteCodec.h"
#include "core/io/ImageAccess.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableLayout.h"
#include "core/text/RecordNames.h"

#include <algorithm>

namespace starfall {

SkillTable skillTableShape(std::string_view nameCp949, Position tableStart,
                           std::span<const int> bytes) {
    SkillTable table{std::string(nameCp949), tableStart, {}, {}};
    table.slots.reserve(std::min(bytes.size() / 2, static_cast<std::size_t>(kMaxSkillSlots)));
    for (std::size_t i = 0; i + 1 < bytes.size() && table.slots.size() < kMaxSkillSlots; i += 2) {
        if (bytes[i] == 0 || bytes[i] == kEndOfFile || bytes[i + 1] == kEndOfFile)
            break;
        const int slot = static_cast<int>(table.slots.size()) + 1;
        table.slots.push_back({ListChoice::none(), {}, isSkillSlotLocked(nameCp949, slot)});
    }
    return table;
}

SkillTable decodeSkillTable(std::string_view nameCp949, Position tableStart,
                            std::span<const int> bytes) {
    SkillTable table = skillTableShape(nameCp949, tableStart, bytes);
    return skillLayout(table, true).decode(bytes, std::move(table));
}

SkillTable loadSkillTable(const std::string& imagePath, std::string_view nameCp949,
                          Position tableStart) {
    const auto positions = skillTableReadPositions(nameCp949, tableStart);
    return decodeSkillTable(nameCp949, tableStart, readBytes(imagePath, positions));
}

std::vector<ByteWrite> skillTableSavePlan(const SkillTable& table) {
    return skillLayout(table).savePlan(skillTableReadPositions(table.name, table.start), table);
}

SaveReport saveSkillTable(const std::string& imagePath, SkillTable& table, CodeRule codes) {
    return writeRecordSave(imagePath, skillLayout(table),
                           skillTableReadPositions(table.name, table.start),
                           skillTableSavePlan(table), table.loaded,
                           messages::skillTableLabel(table.name), codes);
}

} // namespace starfall
