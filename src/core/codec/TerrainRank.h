#pragma once

#include "core/codec/ListChoice.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace starfall {

// The five-grade terrain code of pilot and unit records: one 4-bit value per
// terrain, stored 4 ("A") down to 0 ("--"), two terrains to a byte with the
// first of the pair in the high nibble. List index = 4 - stored value.
struct TerrainRank {
    static constexpr std::array<std::string_view, 5> kItems = {"A", "B", "C", "D", "--"};
    static constexpr std::array<int, 5> kCodes = {4, 3, 2, 1, 0}; // each item's stored value

    struct Pair {
        ListChoice first = ListChoice::none();  // high nibble: air, or land
        ListChoice second = ListChoice::none(); // low nibble: space, or sea
        bool operator==(const Pair&) const = default;
    };

    // Read by the decimal-digit rule: a nibble of 10-15 reads as 0 and shows
    // "--"; a nibble of 5-9 would be an index below 0 and selects nothing.
    // Past the end of the file the byte counts as 0xFF, so both show "--".
    [[nodiscard]] static Pair decodePair(int byte);
    // No selection counts as index -1, stored value 5; the two values are
    // joined in the decimal form, high first. An unlisted choice (a stored
    // value no item stands for, as a script may set) is written as that value.
    [[nodiscard]] static std::uint8_t encodePair(const ListChoice& first, const ListChoice& second);
    [[nodiscard]] static std::uint8_t encodePair(const Pair& pair) {
        return encodePair(pair.first, pair.second);
    }

    // One terrain's stored value as the pair rules see it (0-9 after the digit rule).
    [[nodiscard]] static ListChoice decodeValue(int value);
    // One terrain's nibble as stored, by the decimal-digit rule.
    [[nodiscard]] static ListChoice decodeNibble(int nibble) {
        return decodeValue(nibble > 9 ? 0 : nibble);
    }
    [[nodiscard]] static int encodeValue(const ListChoice& choice);
};

} // namespace starfall
