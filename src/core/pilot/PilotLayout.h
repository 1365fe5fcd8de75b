#pragma once

// Where each byte of a pilot record lies. Reads and writes take the same
// positions in the same order: the stat block (14 bytes), the spirit block
// (12 bytes, command and level of each pair), then the personality byte.

#include "core/io/Position.h"
#include "core/pilot/PilotRecord.h"

#include <vector>

namespace starfall {

inline constexpr int kStatBlockSize = 14;
inline constexpr int kSpiritBlockSize = 12;

// For the blocks of `kind`, the gaps decided from the reference's address.
[[nodiscard]] std::vector<Position> pilotRecordPositions(const PilotReference& reference,
                                                         PilotRecordKind kind);
// Every byte a save of this list entry writes (its kind from its address).
[[nodiscard]] std::vector<Position> pilotRecordPositions(const PilotReference& reference);

[[nodiscard]] Position personalityPosition(const PilotReference& reference);

} // namespace starfall
