#pragma once

// Checks and repairs the error codes of a raw image's sectors, reading the
// image a block of sectors at a time.

#include "core/io/Position.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace starfall {

// Sectors `first` to `last`, both included.
struct SectorRange {
    std::int64_t first = 0;
    std::int64_t last = 0;
    [[nodiscard]] bool holds(std::int64_t sector) const {
        return sector >= first && sector <= last;
    }
    bool operator==(const SectorRange&) const = default;
};

struct SectorMismatch {
    std::int64_t sector = 0;
    bool edc = false; // true: this code does not match
    bool ecc = false;
    bool form2 = false;
    bool operator==(const SectorMismatch&) const = default;
};

struct SectorReport {
    std::int64_t sectors = 0; // whole sectors only
    std::int64_t form1 = 0;
    std::int64_t form2 = 0;
    std::int64_t trailingBytes = 0; // past the last whole sector
    std::vector<SectorMismatch> mismatches;
};

// Throws CoreError(NoRawSectors) for a file without one raw Mode 2 sector
// (an ISO image of 2048-byte sectors, random data, a raw image shifted by a
// byte), which has no codes to verify or repair.
[[nodiscard]] SectorReport verifySectors(const std::string& path);

struct RepairReport {
    std::vector<SectorMismatch> repaired;
    std::vector<SectorMismatch> leftAlone; // outside the ranges, or not Form 1
};

// Rewrites the EDC, P and Q of every mismatching Form 1 sector inside
// `ranges` and no other byte; every other mismatch is only reported.
[[nodiscard]] RepairReport repairSectors(const std::string& path,
                                         std::span<const SectorRange> ranges);

// The sector that holds a position, and the ranges that hold a set of
// positions, merged and in order.
[[nodiscard]] std::int64_t sectorOf(Position position);
[[nodiscard]] std::vector<SectorRange> sectorRangesOf(std::span<const Position> positions);

} // namespace starfall
