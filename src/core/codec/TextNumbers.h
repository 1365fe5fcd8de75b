#pragma once

// The two text-to-number rules every control value goes through.

#include <cstdint>
#include <string_view>

namespace starfall {

// Each character a hex digit (any other character is worth 0 but keeps its
// place); "1f" is 31, "1g" is 16, "" is 0. Wraps modulo 2^32.
[[nodiscard]] std::uint32_t hexTextValue(std::string_view text);

// Leading blanks, one optional sign, then decimal digits up to the first
// other character; no digits gives 0. Beyond the 32-bit range the result is
// the nearest 32-bit value, as strtol clamps.
[[nodiscard]] std::int32_t parseDecimal(std::string_view text);

} // namespace starfall
