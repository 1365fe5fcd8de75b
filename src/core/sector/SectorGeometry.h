#pragma once

// The shape of a raw 2352-byte sector, written once: 24 bytes of sync, header
// and subheader, 2048 bytes of the disc's data, then 280 bytes of EDC and
// parity. A table that runs on across a sector's data end continues one gap
// (tail plus the next head, 304 bytes) further on in the image.

#include "core/io/Position.h"

namespace starfall {

namespace sector {
inline constexpr Position kSectorBytes = 2352;
inline constexpr Position kDataBegin = 24;
inline constexpr Position kDataBytes = 2048;
inline constexpr Position kDataFinish = kDataBegin + kDataBytes; // 2072
} // namespace sector

inline constexpr Position kSectorGap = sector::kSectorBytes - sector::kDataBytes;

} // namespace starfall
