#pragma once

// What a save does to the codes of one raw sector it writes: codes that
// matched before the save match again after it, codes that did not match
// stay as they are, and codes the save writes itself are its own.

#include "core/sector/SectorCodes.h"

namespace starfall::sector {

enum class Refresh {
    Untouched, // no raw sector (a flat image), or its codes match as written
    Refreshed, // the codes were brought up to date in `fresh`
    Stale      // left not matching: wrong before, written by the save, or kept
};

// `old` is the sector as the image holds it, `fresh` as the save leaves it.
// With `refresh` false, codes are never rewritten; the outcome still says
// whether they match.
[[nodiscard]] Refresh refreshCodes(ConstSector old, Sector fresh, bool refresh);

// The first byte of the codes of a sector of this form: Form 1 from 2072,
// Form 2 its EDC from 2348 (kSectorSize for Other).
[[nodiscard]] std::size_t codesBegin(Form form);

} // namespace starfall::sector
