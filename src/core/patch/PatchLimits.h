#pragma once

// What a patch may make us hold in memory. A patch file is read whole. An
// apply holds only the bytes it changes, twice (new, and the image's own for
// a rollback); a BPS that copies from its source or target reads the bytes it
// does not change back from the image instead of holding the whole target.

#include <cstddef>

namespace starfall::patch {

inline constexpr std::size_t kMebibyte = std::size_t{1} << 20;
inline constexpr std::size_t kMaxPatchFileBytes = 256 * kMebibyte;
inline constexpr std::size_t kMaxChangedBytes = 256 * kMebibyte;

} // namespace starfall::patch
