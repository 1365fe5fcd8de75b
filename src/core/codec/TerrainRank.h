#pragma once

#include "core/codec/ListChoice.h"

#include <array>
#include <string_view>

namespace starfall {

// The five-grade terrain code of pilot and unit records: one 4-bit value per
// terrain, stored 4 ("A") down to 0 ("--"), two terrains to a byte with the
// first of the pair in the high nibble. List index = 4 - stored value.
struct TerrainRank {
    static constexpr std::array<std::string_view, 5> kItems = {"A", "B", "C", "D", "--"};
    static constexpr std::array<int, 5> kCodes = {4, 3, 2, 1, 0}; // each item's stored value

    // One terrain's nibble as stored, read by the decimal-digit rule: 10-15
    // read as 0 and show "--"; 5-9 would be an index below 0 and select
    // nothing. Past the end of the file the byte counts as 0xFF, so "--".
    [[nodiscard]] static ListChoice decodeNibble(int nibble);
};

} // namespace starfall
