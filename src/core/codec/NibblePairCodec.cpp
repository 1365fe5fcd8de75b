#include "core/codec/NibblePairCodec.h"

#include "core/codec/ByteCodec.h"

namespace starfall {

namespace {

int applyRule(int nibble, NibblePairCodec::DigitRule rule) {
    return rule == NibblePairCodec::DigitRule::Decimal && nibble > 9 ? 0 : nibble;
}

} // namespace

NibblePairCodec::Pair NibblePairCodec::decode(int byte, DigitRule rule) {
    const int value = byteOr255(byte);
    return {applyRule(value >> 4, rule), applyRule(value & 0x0F, rule)};
}

std::uint8_t NibblePairCodec::encode(int high, int low, Form /*form*/) {
    return static_cast<std::uint8_t>(((high & 0x0F) << 4) | (low & 0x0F));
}

} // namespace starfall
