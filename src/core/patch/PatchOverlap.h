#pragma once

// Where patches meant to be stacked on one image change the same bytes.

#include "core/patch/ByteChanges.h"

#include <span>
#include <vector>

namespace starfall::patch {

struct Overlap {
    Position start = 0;
    Position length = 0;
    std::vector<std::size_t> patches; // indexes into the changes given, in order
    bool sameBytes = false;           // every one of them writes the same bytes there
};

// The ranges, in image order, where two or more of `changes` (each one
// patch's plan against the same image) change bytes; a range ends where the
// set of patches changes.
[[nodiscard]] std::vector<Overlap> findOverlaps(std::span<const ByteChanges> changes);

} // namespace starfall::patch
