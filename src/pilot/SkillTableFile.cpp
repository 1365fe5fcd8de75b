#include "pilot/SkillTableFile.h"

#include "image/ByteCodec.h"
#include "image/ImageAccess.h"
#include "image/Messages.h"
#include "pilot/SkillTableLayout.h"

namespace starfall {

namespace {

// Both bytes of each of the 19 slots, as far as they can be addressed; the
// first slot always, so that a bad table position is reported.
std::vector<Position> readPlan(std::string_view nameCp949, Position tableStart) {
    std::vector<Position> positions;
    for (int k = 1; k <= kMaxSkillSlots; ++k) {
        const SkillSlotPositions slot = skillSlotPositions(nameCp949, tableStart, k);
        if (k > 1 && !(isAddressable(slot.code) && isAddressable(slot.level)))
            break;
        positions.push_back(slot.code);
        positions.push_back(slot.level);
    }
    return positions;
}

} // namespace

SkillTable decodeSkillTable(std::string_view nameCp949, Position tableStart,
                            std::span<const int> bytes) {
    SkillTable table{std::string(nameCp949), tableStart, {}};
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
    return table;
}

SkillTable loadSkillTable(const std::string& imagePath, std::string_view nameCp949,
                          Position tableStart) {
    const auto positions = readPlan(nameCp949, tableStart);
    return decodeSkillTable(nameCp949, tableStart, readBytes(imagePath, positions));
}

void saveSkillTable(const std::string& imagePath, const SkillTable& table) {
    const auto positions = skillTableSavePositions(table);
    std::vector<std::uint8_t> values;
    const int count = std::min(static_cast<int>(table.slots.size()), kMaxSkillSlots);
    for (int k = 1; k <= count; ++k) {
        if (isSkillSlotLocked(table.name, k))
            continue;
        const SkillSlot& slot = table.slots[static_cast<std::size_t>(k - 1)];
        values.push_back(SkillItems::encode(slot.skill, slot.storedCode));
        values.push_back(ByteCodec::encode(slot.level));
    }
    writeBytes(imagePath, zipPlan(positions, values), messages::skillTableLabel(table.name));
}

} // namespace starfall
