#pragma once

// Reading a pilot record from an image and writing it back: one read of all
// its planned bytes, or one write of exactly those bytes, nothing else.

#include "core/io/ImageAccess.h"
#include "core/pilot/PilotRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace starfall {

// The record from the bytes of pilotRecordPositions(reference, kind), as read
// (kEndOfFile past the end). The blocks the kind lacks keep the values of
// `previous`, as the page keeps showing them.
[[nodiscard]] PilotRecord decodePilotRecord(PilotRecordKind kind, std::span<const int> bytes,
                                            PilotRecord previous = {});
// One value per position of pilotRecordPositions(reference, record.kind).
[[nodiscard]] std::vector<std::uint8_t> encodePilotRecord(const PilotRecord& record);

// The kind comes from the reference's address; blocks it lacks keep the
// values of `previous`. Throws CoreError(ImageOpenForLoad) and
// CoreError(PositionOutOfRange) as readBytes does.
[[nodiscard]] PilotRecord loadPilotRecord(const std::string& imagePath,
                                          const PilotReference& reference,
                                          PilotRecord previous = {});

// The bits of the fields of the record's kind (the kind of the load it came
// from) that differ from what the record was read as.
[[nodiscard]] std::vector<ByteWrite> pilotSavePlan(const PilotReference& reference,
                                                   const PilotRecord& record);
// Writes pilotSavePlan; afterwards the record counts as read from what it
// wrote. Returns and throws as writeBytes does; nothing is written then.
SaveReport savePilotRecord(const std::string& imagePath, const PilotReference& reference,
                           PilotRecord& record, CodeRule codes = CodeRule::Refresh);

} // namespace starfall
