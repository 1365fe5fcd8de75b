#pragma once

// Where the 20 bytes of a unit record lie, in the order they are read and
// written: movement, packed byte, the two terrain bytes, armor, mobility,
// limit, EN and HP (low byte first), abilities 1-4, then the repair cost
// before the record.

#include "core/unit/UnitRecord.h"

#include <vector>

namespace starfall {

inline constexpr std::size_t kUnitRecordBytes = 20;

[[nodiscard]] std::vector<Position> unitRecordPositions(const UnitPlace& place);

} // namespace starfall
