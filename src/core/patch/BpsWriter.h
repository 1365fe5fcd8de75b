#pragma once

#include "core/patch/ByteChanges.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace starfall::patch {

struct BpsChecksums {
    std::uint32_t source = 0;
    std::uint32_t target = 0;
};

// A BPS in its linear form for a target of the source's size: SourceRead for
// each unchanged stretch and TargetRead for each changed run, then the
// CRC32s of source, target and the patch itself.
[[nodiscard]] std::vector<std::uint8_t> writeLinearBps(Position size, const ByteChanges& changes,
                                                       std::string_view metadata,
                                                       BpsChecksums checksums);

} // namespace starfall::patch
