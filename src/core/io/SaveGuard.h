#pragma once

#include "core/io/Position.h"

#include <span>
#include <string>
#include <string_view>

namespace starfall {

// On a raw 2352-byte-sector image, refuses a save any of whose positions lies
// in a sector's head or tail: throws CoreError(SectorFraming) naming the record
// and the first such position. Images without the sync pattern pass.
void checkSaveAgainstFraming(int fd, const std::string& path, std::span<const Position> positions,
                             std::string_view record);

} // namespace starfall
