// Any text through the decimal rule: it must agree with a plain reading of
// the same rule done with 64-bit arithmetic and clamping.
#include "core/codec/TextNumbers.h"

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

std::int32_t reference(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), std::int64_t{1} << 40);
    value = negative ? -value : value;
    value = std::max<std::int64_t>(value, std::numeric_limits<std::int32_t>::min());
    value = std::min<std::int64_t>(value, std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (starfall::parseDecimal(text) != reference(text))
        std::abort();
    (void)starfall::hexTextValue(text);
    return 0;
}
