#pragma once

// Bytes of a pilot record, in the order PilotLayout plans them, to the values
// the pilot page shows and back.

#include "core/pilot/PilotRecord.h"

#include <cstdint>
#include <span>
#include <vector>

namespace starfall {

// `bytes` as read (kEndOfFile past the end). The blocks the kind lacks keep
// the values of `previous`, as the page keeps showing them.
[[nodiscard]] PilotRecord decodePilotRecord(PilotRecordKind kind, std::span<const int> bytes,
                                            PilotRecord previous = {});

// One value per position of pilotRecordPositions(reference, record.kind).
[[nodiscard]] std::vector<std::uint8_t> encodePilotRecord(const PilotRecord& record);

} // namespace starfall
