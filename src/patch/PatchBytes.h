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

inline void appendText(std::vector<std::uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

} // namespace starfall::patch
