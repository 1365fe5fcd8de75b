#pragma once

// A reflected CRC-32 of any polynomial over long runs, sixteen bytes per
// carry-less multiply, where the processor has one. Each caller keeps its
// own table-driven CRC for what is left over, and for processors without it.

#include <array>
#include <cstdint>
#include <span>

namespace starfall::crcfold {

// x^n modulo the polynomial, both as ordinary (unreflected) bit patterns
// with the x^32 term left implicit.
constexpr std::uint32_t powerOfX(std::uint32_t polynomial, unsigned n) {
    std::uint64_t value = 1;
    for (unsigned i = 0; i < n; ++i) {
        value <<= 1;
        if ((value >> 32) != 0)
            value ^= (std::uint64_t{1} << 32) | polynomial;
    }
    return static_cast<std::uint32_t>(value);
}

constexpr std::uint64_t reflect64(std::uint64_t value) {
    std::uint64_t out = 0;
    for (int bit = 0; bit < 64; ++bit, value >>= 1)
        out = (out << 1) | (value & 1U);
    return out;
}

// The multipliers that move a 16-byte block `distance` bits on: its first
// eight bytes by x^(distance + 64), its last eight by x^distance. One power
// less than that, because a reflected carry-less product comes out shifted
// by one bit.
struct FoldStep {
    std::uint64_t low = 0;
    std::uint64_t high = 0;
};
constexpr FoldStep foldStep(std::uint32_t polynomial, unsigned distance) {
    return {reflect64(powerOfX(polynomial, distance + 63)),
            reflect64(powerOfX(polynomial, distance - 1))};
}

struct FoldKeys {
    FoldStep byEight; // 128 bytes on, eight blocks at a time, two a multiply
    FoldStep byFour;  // 64 bytes on, four blocks at a time
    FoldStep byOne;   // 16 bytes on
};

// `reflected` as the table-driven CRC writes it (bit 0 the x^31 term).
constexpr FoldKeys foldKeys(std::uint32_t reflected) {
    std::uint32_t polynomial = 0;
    for (int bit = 0; bit < 32; ++bit)
        polynomial |= ((reflected >> bit) & 1U) << (31 - bit);
    return {foldStep(polynomial, 1024), foldStep(polynomial, 512), foldStep(polynomial, 128)};
}

// Runs shorter than this are left to the table.
inline constexpr std::size_t kFoldMinimum = 64;

// How many blocks one multiply takes: none (the table does it all), one, or
// two where the processor has the 256-bit multiply, for runs of kWideMinimum.
enum class FoldWidth { None, Narrow, Wide };
inline constexpr std::size_t kWideMinimum = 256;

// The widest this processor can fold; asked once.
[[nodiscard]] FoldWidth widest();
[[nodiscard]] inline bool available() {
    return widest() != FoldWidth::None;
}

// Folds the whole 16-byte blocks of `bytes` (at least kFoldMinimum of them,
// and only where available()) with the CRC register `crc` taken in, down to
// 16 bytes in `rest`. The CRC register, from zero, over `rest` and then the
// bytes after the blocks is the register over all of `bytes` from `crc`.
// Returns how many bytes it folded.
std::size_t fold(const FoldKeys& keys, std::uint32_t crc, std::span<const std::uint8_t> bytes,
                 std::array<std::uint8_t, 16>& rest);
// The same at a given width, Narrow or Wide and no wider than widest(), so
// that each path can be tested where the processor has it.
std::size_t foldAs(FoldWidth width, const FoldKeys& keys, std::uint32_t crc,
                   std::span<const std::uint8_t> bytes, std::array<std::uint8_t, 16>& rest);

} // namespace starfall::crcfold
