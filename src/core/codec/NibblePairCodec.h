#pragma once

#include <cstdint>

namespace starfall {

// Two 4-bit values in one byte, high nibble first.
struct NibblePairCodec {
    // Decimal-digit rule: a nibble of 10-15 reads as 0. Hex-digit rule: 0-15.
    enum class DigitRule { Decimal, Hex };
    // The write forms join the numbers as decimal or hex text before the hex
    // conversion; for in-range numbers both give high * 16 + low, and outside
    // the range each number keeps its low 4 bits, so the two coincide.
    enum class Form { Decimal, Hex };

    struct Pair {
        int high = 0;
        int low = 0;
        bool operator==(const Pair&) const = default;
    };

    // A byte past the end of the file counts as 0xFF.
    [[nodiscard]] static Pair decode(int byte, DigitRule rule);
    [[nodiscard]] static std::uint8_t encode(int high, int low, Form form);
};

} // namespace starfall
