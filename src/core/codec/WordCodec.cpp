#include "core/codec/WordCodec.h"

#include "core/codec/ByteCodec.h"
#include "core/codec/TextNumbers.h"

namespace starfall {

int WordCodec::value(int low, int high) {
    return byteOr255(high) * 256 + byteOr255(low);
}

std::string WordCodec::decode(int low, int high) {
    return std::to_string(value(low, high));
}

std::array<std::uint8_t, 2> WordCodec::encode(std::string_view text) {
    return encodeValue(parseDecimal(text));
}

std::array<std::uint8_t, 2> WordCodec::encodeValue(std::int64_t value) {
    return {lowByte(value), lowByte(value >> 8)};
}

} // namespace starfall
