#pragma once

// Appending the fields of a patch file.

#include <cstdint>
#include <string_view>
#include <vector>

namespace starfall::patch {

// `count` bytes of `value`, low byte first.
inline void appendLittle(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Byte by byte: GCC 12 at -O3 warns, wrongly, of an overflow when a range is
// inserted into an empty vector.
inline void appendText(std::vector<std::uint8_t>& out, std::string_view text) {
    for (const char c : text)
        out.push_back(static_cast<std::uint8_t>(c));
}

} // namespace starfall::patch
