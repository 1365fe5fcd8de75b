#pragma once

// Where the slots of a skill table lie, and which slots the name rules lock.
// Names are the list's code-page-949 bytes, compared byte for byte.

#include "image/Position.h"
#include "pilot/SkillTable.h"

#include <string_view>
#include <vector>

namespace starfall {

struct SkillSlotPositions {
    Position code = 0;
    Position level = 0;
    bool operator==(const SkillSlotPositions&) const = default;
};

// Slot k (from 1) of the table at `tableStart` of the named pilot.
[[nodiscard]] SkillSlotPositions skillSlotPositions(std::string_view nameCp949, Position tableStart,
                                                    int slot);

// "레즌" (whole name) locks slot 1; a name containing "도몬" locks slot 8.
[[nodiscard]] bool isSkillSlotLocked(std::string_view nameCp949, int slot);

// Where the pilot page opens the skill table of a list entry at record
// position P: P + 12 for the four protagonist entries, else P + 26.
[[nodiscard]] Position skillTablePosition(std::string_view nameCp949, Position recordPosition);

// Every byte saveSkillTable writes for this table: code and level of each
// slot read that no name rule locks, in slot order.
[[nodiscard]] std::vector<Position> skillTableSavePositions(const SkillTable& table);

} // namespace starfall
