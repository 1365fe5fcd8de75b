#pragma once

// Reading a pilot's skill table and writing its editable slots back.

#include "pilot/SkillTable.h"

#include <span>
#include <string>
#include <string_view>

namespace starfall {

// The slots from `tableStart` up to the first zero code, at most 19. A slot
// whose code or level lies past the end of the image ends the table too, so
// that a save never writes beyond the end. Throws as readBytes does.
[[nodiscard]] SkillTable loadSkillTable(const std::string& imagePath, std::string_view nameCp949,
                                        Position tableStart);

// The table from the bytes of the 19 slot positions in slot order (code,
// level); `bytes` may stop early where the positions left the image's range.
[[nodiscard]] SkillTable decodeSkillTable(std::string_view nameCp949, Position tableStart,
                                          std::span<const int> bytes);

// Writes code and level of every slot read that no name rule locks, changed
// or not; nothing beyond the slots read. Throws as writeBytes does.
void saveSkillTable(const std::string& imagePath, const SkillTable& table);

} // namespace starfall
