#pragma once

// Where the slots of a skill table lie, and which slots the name rules lock.
// Names are the list's code-page-949 bytes, compared byte for byte.

#include "core/io/Position.h"
#include "core/skill/SkillTable.h"

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

// Code and level of each of the 19 slots, as far as they can be addressed;
// the first slot always, so that a bad table position is reported. A load
// reads these; a save writes some of them.
[[nodiscard]] std::vector<Position> skillTableReadPositions(std::string_view nameCp949,
                                                            Position tableStart);

// Every byte saveSkillTable may write for this table: code and level of each
// slot read that no name rule locks, in slot order.
[[nodiscard]] std::vector<Position> skillTableSavePositions(const SkillTable& table);

} // namespace starfall
