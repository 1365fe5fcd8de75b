#pragma once

// A skill table, stated once: code and learn level of each slot it was read
// with, two bytes a slot from the table's start.

#include "core/record/RecordLayout.h"
#include "core/skill/SkillTable.h"

namespace starfall {

// The slots of `table`, without the locked ones unless `withLocked`. Its
// planned bytes are every slot position the table reads from. Tables of the
// same shape share one layout, which lives as long as the program.
[[nodiscard]] const RecordLayout<SkillTable>& skillLayout(const SkillTable& table,
                                                          bool withLocked = false);
// The same for a caller that has just read the table and knows how many of
// its positions there are (skillTableReadPositions).
[[nodiscard]] const RecordLayout<SkillTable>& skillLayout(const SkillTable& table, bool withLocked,
                                                          std::size_t readCount);
// slots.N.skill, slots.N.level.
[[nodiscard]] FieldTable<SkillTable> skillFields(const SkillTable& table, bool withLocked = false);

} // namespace starfall
