#pragma once

// Where a unit record's bytes lie: at P plus their offset, one sector gap
// further on past each gap point the record has. The offsets themselves are
// stated once, in the unit's field table (UnitFields.cpp).

#include "core/record/FieldTable.h"
#include "core/unit/UnitRecord.h"

#include <vector>

namespace starfall {

[[nodiscard]] Position unitBytePosition(const UnitPlace& place, RecordOffset offset);
// Every planned byte of the record, in the order of its layout.
[[nodiscard]] std::vector<Position> unitRecordPositions(const UnitPlace& place);
// The highest of them: the record lies in an image only if this does.
[[nodiscard]] Position unitRecordLastPosition(const UnitPlace& place);

} // namespace starfall
