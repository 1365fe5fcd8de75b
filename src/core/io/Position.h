#pragma once

#include <cstdint>

namespace starfall {

// Byte offset into an image. Computed in 64 bits so that a bad base offset or
// address cannot wrap; only [0, kPositionLimit) may be read or written.
using Position = std::int64_t;

inline constexpr Position kPositionLimit = Position{1} << 31;

[[nodiscard]] constexpr bool isAddressable(Position p) {
    return p >= 0 && p < kPositionLimit;
}

} // namespace starfall
