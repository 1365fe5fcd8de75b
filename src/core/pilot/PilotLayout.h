#pragma once

// Where a pilot record's bytes lie: at P plus their offset, except where the
// stat block of one record runs over a sector boundary and where the
// personality byte of three records lies in the sector before. The offsets
// themselves are stated once, in the pilot's field table (PilotFields.cpp).

#include "core/pilot/PilotRecord.h"
#include "core/record/FieldTable.h"

#include <vector>

namespace starfall {

[[nodiscard]] Position pilotBytePosition(const PilotReference& reference, RecordOffset offset);
// Every planned byte of the blocks of `kind`, in the order of its layout.
[[nodiscard]] std::vector<Position> pilotRecordPositions(const PilotReference& reference,
                                                         PilotRecordKind kind);
// Every byte a save of this list entry writes (its kind from its address).
[[nodiscard]] std::vector<Position> pilotRecordPositions(const PilotReference& reference);
// The highest of them: the record lies in an image only if this does.
[[nodiscard]] Position pilotRecordLastPosition(const PilotReference& reference);

} // namespace starfall
