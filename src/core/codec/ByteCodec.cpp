#include "core/codec/ByteCodec.h"

#include "core/codec/TextNumbers.h"

namespace starfall {

std::string ByteCodec::decode(int byte) {
    return std::to_string(byte);
}

std::uint8_t ByteCodec::encode(std::string_view text) {
    return lowByte(parseDecimal(text));
}

} // namespace starfall
