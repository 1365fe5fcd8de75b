#pragma once

#include <cstdint>

namespace starfall {

// Byte offset into an image. Computed in 64 bits so that a bad base offset or
// address cannot wrap; only [0, kPositionLimit) may be read or written.
using Position = std::int64_t;

inline constexpr Position kPositionLimit = Position{1} << 31;

[[nodiscard]] constexpr bool isAddressable(Position p) { return p >= 0 && p < kPositionLimit; }

// The 304 bytes of sector tail and head that lie between two data areas of a
// raw 2352-byte-sector image.
inline constexpr Position kSectorGap = 304;

} // namespace starfall
