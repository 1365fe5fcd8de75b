#pragma once

// The error-detection and correction codes of a raw 2352-byte Mode 2 sector:
// a 32-bit EDC over the subheader and user data, and for Form 1 the P and Q
// Reed-Solomon parity, computed with the header taken as zero.

#include "core/sector/SectorGeometry.h"

#include <array>
#include <cstdint>
#include <span>

namespace starfall::sector {

// The geometry as sizes, for spans and arrays.
inline constexpr auto kSectorSize = static_cast<std::size_t>(kSectorBytes);
inline constexpr auto kDataStart = static_cast<std::size_t>(kDataBegin);
inline constexpr auto kDataEnd = static_cast<std::size_t>(kDataFinish); // Form 1: EDC, P, Q
inline constexpr std::size_t kForm2EdcAt = 2348;

using Sector = std::span<std::uint8_t, kSectorSize>;
using ConstSector = std::span<const std::uint8_t, kSectorSize>;

inline constexpr std::array<std::uint8_t, 12> kSync = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};

enum class Form { Form1, Form2, Other }; // Other: no sync pattern, or not Mode 2

[[nodiscard]] Form formOf(ConstSector sector);

// The CRC of `bytes` as the EDC field holds it (stored low byte first).
[[nodiscard]] std::uint32_t edc(std::span<const std::uint8_t> bytes);
// The same by table alone, from the register `crc`, as on a processor
// without carry-less multiply: what the faster path must agree with.
[[nodiscard]] std::uint32_t edcByTable(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

struct Check {
    bool edcMatches = true;
    bool eccMatches = true;
    [[nodiscard]] bool matches() const { return edcMatches && eccMatches; }
};

// Form 2 has no ECC, and a stored EDC of zero means it carries none.
[[nodiscard]] Check check(ConstSector sector);

// Rewrites a Form 1 sector's EDC, P and Q (bytes 2072 onward) and nothing else.
void writeForm1Codes(Sector sector);
// Rewrites a Form 2 sector's EDC (bytes 2348 onward).
void writeForm2Edc(Sector sector);

} // namespace starfall::sector
