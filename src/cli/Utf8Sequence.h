#pragma once

// Where text that may not be UTF-8 is printed (JSON strings, file paths in
// messages), each sequence is taken whole or not at all.

#include <cstddef>
#include <string_view>

namespace starfall::cli {

// The length of the UTF-8 sequence starting `text` at `at`, or 0 where the
// bytes are no well-formed UTF-8 (overlong forms, surrogates, past U+10FFFF).
// Inline: JSON strings check each sequence of every name they print.
[[nodiscard]] inline std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const auto follows = [&](std::size_t i, unsigned char low, unsigned char high) {
        return at + i < text.size() && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return follows(1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return follows(1, low, high) && follows(2, 0x80, 0xBF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return follows(1, low, high) && follows(2, 0x80, 0xBF) && follows(3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

} // namespace starfall::cli
