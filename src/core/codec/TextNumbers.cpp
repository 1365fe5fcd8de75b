#include "core/codec/TextNumbers.h"

#include <limits>

namespace starfall {

namespace {

std::uint32_t hexDigitWorth(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint32_t>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint32_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint32_t>(c - 'A' + 10);
    return 0;
}

bool isBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

std::uint32_t hexTextValue(std::string_view text) {
    std::uint32_t value = 0;
    for (char c : text)
        value = value * 16 + hexDigitWorth(c);
    return value;
}

std::int32_t parseDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMax + 1)
            magnitude = kMax + 1; // saturate; only the clamp below matters now
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > kMax)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

} // namespace starfall
