#pragma once

// Reading a unit record and writing it back: exactly its planned bytes.

#include "core/io/ImageAccess.h"
#include "core/unit/UnitRecord.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace starfall {

// The record from the bytes of unitRecordPositions, in that order.
[[nodiscard]] UnitRecord decodeUnitRecord(std::span<const int> bytes);
[[nodiscard]] std::vector<std::uint8_t> encodeUnitRecord(const UnitRecord& record);

// Throws CoreError(ImageOpenForLoad) when the image cannot be opened.
[[nodiscard]] UnitRecord loadUnitRecord(const std::string& imagePath, const UnitPlace& place);
// The bits of the fields that differ from what the record was read as.
[[nodiscard]] std::vector<ByteWrite> unitSavePlan(const UnitPlace& place, const UnitRecord& record);
// Writes unitSavePlan; afterwards the record counts as read
// from what it wrote. Returns and throws as writeBytes does.
SaveReport saveUnitRecord(const std::string& imagePath, const UnitPlace& place, UnitRecord& record,
                          CodeRule codes = CodeRule::Refresh);

} // namespace starfall
