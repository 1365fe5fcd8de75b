#pragma once

// Reading a pilot's skill table and writing its editable slots back.

#include "core/io/ImageAccess.h"
#include "core/skill/SkillTable.h"

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

// The table's slots as `bytes` make them (how many, which are locked),
// their values not yet read: what decodeSkillTable fills in.
[[nodiscard]] SkillTable skillTableShape(std::string_view nameCp949, Position tableStart,
                                         std::span<const int> bytes);
// The bits of the slots read that no name rule locks and whose skill or
// level differ from what the table was read as; nothing beyond the slots read.
[[nodiscard]] std::vector<ByteWrite> skillTableSavePlan(const SkillTable& table);
// Writes skillTableSavePlan; afterwards the table counts as read from what
// it wrote. Returns and throws as writeBytes does.
SaveReport saveSkillTable(const std::string& imagePath, SkillTable& table,
                          CodeRule codes = CodeRule::Refresh);

} // namespace starfall
