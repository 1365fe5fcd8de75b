#include "core/codec/TerrainRank.h"

#include "core/codec/NibblePairCodec.h"

namespace starfall {

namespace {

constexpr int kTopValue = 4; // "A"

} // namespace

ListChoice TerrainRank::decodeValue(int value) {
    const int index = kTopValue - value;
    if (index < 0 || index >= static_cast<int>(kItems.size()))
        return ListChoice::none();
    return ListChoice::item(index);
}

int TerrainRank::encodeValue(const ListChoice& choice) {
    if (const auto code = choice.unlistedCode())
        return *code;
    const int index = choice.indexOr(-1);
    const bool listed = index >= 0 && index < static_cast<int>(kItems.size());
    return kTopValue - (listed ? index : -1);
}

TerrainRank::Pair TerrainRank::decodePair(int byte) {
    const auto nibbles = NibblePairCodec::decode(byte, NibblePairCodec::DigitRule::Decimal);
    return {decodeValue(nibbles.high), decodeValue(nibbles.low)};
}

std::uint8_t TerrainRank::encodePair(const ListChoice& first, const ListChoice& second) {
    return NibblePairCodec::encode(encodeValue(first), encodeValue(second),
                                   NibblePairCodec::Form::Decimal);
}

} // namespace starfall
