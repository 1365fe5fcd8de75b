#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace starfall {

// Unsigned 16-bit value, low byte first. Where the high byte lies is the
// record layout's business; the codec only sees the two byte values.
struct WordCodec {
    // Each byte past the end of the file counts as 255.
    [[nodiscard]] static int value(int low, int high);
    [[nodiscard]] static std::string decode(int low, int high);
    // {low, high}: the low 16 bits of the decimal parse (two's complement for
    // negatives), as the byte fields cut to their width.
    [[nodiscard]] static std::array<std::uint8_t, 2> encode(std::string_view text);
    [[nodiscard]] static std::array<std::uint8_t, 2> encodeValue(std::int64_t value);
};

} // namespace starfall
