#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace starfall {

// Image bytes as read: 0-255, or kEndOfFile for a byte past the end of the file.
inline constexpr int kEndOfFile = -1;

// One unsigned byte shown as decimal text; "-1" past the end of the file.
struct ByteCodec {
    [[nodiscard]] static std::string decode(int byte);
    // Decimal parse, low 8 bits: "300" gives 0x2C, "-1" gives 0xFF.
    [[nodiscard]] static std::uint8_t encode(std::string_view text);
};

// The byte as the non-byte codecs see it: past the end counts as 255.
[[nodiscard]] constexpr int byteOr255(int byte) {
    return byte == kEndOfFile ? 0xFF : byte;
}

// The low 8 bits of any number: the "cut to the field's width" rule.
[[nodiscard]] constexpr std::uint8_t lowByte(std::int64_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) & 0xFF);
}

} // namespace starfall
