#include "core/skill/SkillTableLayout.h"

#include "core/codec/FixedName.h"
#include "core/sector/SectorGeometry.h"

#include <algorithm>
#include <array>

namespace starfall {

namespace {

constexpr Position kSlotSize = 2;

// "듀오"'s table runs over a sector boundary just after slot 5's code: the
// level byte lies where the data area holds it, slot 6 on one gap further.
constexpr int kStretchSlot = 5;

const FixedName& stretchName() {
    static const FixedName name("듀오");
    return name;
}

Position stretchedLevel(Position level) {
    return level % sector::kSectorBytes >= sector::kDataFinish ? level + kSectorGap : level;
}

SkillSlotPositions slotPositions(bool stretched, Position tableStart, int slot) {
    const Position code = tableStart + kSlotSize * (slot - 1);
    if (!stretched || slot < kStretchSlot)
        return {code, code + 1};
    if (slot == kStretchSlot)
        return {code, stretchedLevel(code + 1)};
    return {code + kSectorGap, code + kSectorGap + 1};
}

} // namespace

SkillSlotPositions skillSlotPositions(std::string_view nameCp949, Position tableStart, int slot) {
    return slotPositions(stretchName().matches(nameCp949), tableStart, slot);
}

bool isSkillSlotLocked(std::string_view nameCp949, int slot) {
    static const FixedName firstSlotLock("레즌");
    static const FixedName eighthSlotLock("도몬");
    return (slot == 1 && firstSlotLock.matches(nameCp949)) ||
           (slot == 8 && eighthSlotLock.isContainedIn(nameCp949));
}

Position skillTablePosition(std::string_view nameCp949, Position recordPosition) {
    static const std::array<FixedName, 4> protagonists = {
        FixedName("주인공 특기(리얼)"), FixedName("주인공 특기(슈퍼)"),
        FixedName("부주인공 특기(리얼)"), FixedName("부주인공 특기(슈퍼)")};
    const bool protagonist =
        std::any_of(protagonists.begin(), protagonists.end(),
                    [nameCp949](const FixedName& name) { return name.matches(nameCp949); });
    return recordPosition + (protagonist ? 12 : 26);
}

std::vector<Position> skillTableReadPositions(std::string_view nameCp949, Position tableStart) {
    std::vector<Position> positions;
    positions.reserve(2 * kMaxSkillSlots);
    const bool stretched = stretchName().matches(nameCp949);
    for (int k = 1; k <= kMaxSkillSlots; ++k) {
        const SkillSlotPositions slot = slotPositions(stretched, tableStart, k);
        if (k > 1 && !(isAddressable(slot.code) && isAddressable(slot.level)))
            break;
        positions.push_back(slot.code);
        positions.push_back(slot.level);
    }
    return positions;
}

std::vector<Position> skillTableSavePositions(const SkillTable& table) {
    std::vector<Position> positions;
    const int count = std::min(static_cast<int>(table.slots.size()), kMaxSkillSlots);
    for (int k = 1; k <= count; ++k) {
        if (isSkillSlotLocked(table.name, k))
            continue;
        const SkillSlotPositions slot = skillSlotPositions(table.name, table.start, k);
        positions.push_back(slot.code);
        positions.push_back(slot.level);
    }
    return positions;
}

} // namespace starfall
