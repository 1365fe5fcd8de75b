#include "cli/FastJsonRead.h"

#include <unicode/utf8.h>

#include <algorithm>

namespace starfall::cli {

bool nlohmannTakesString(std::string_view text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    if (std::all_of(bytes, bytes + length, [](std::uint8_t byte) { return byte < 0x80; }))
        return true;
    // ICU's reading of UTF-8 refuses what nlohmann's does: overlong forms,
    // surrogates, code points past U+10FFFF, stray and missing trail bytes.
    for (std::int32_t at = 0; at < length;) {
        UChar32 point = 0;
        U8_NEXT(bytes, at, length, point);
        if (point < 0)
            return false;
    }
    return true;
}

} // namespace starfall::cli
