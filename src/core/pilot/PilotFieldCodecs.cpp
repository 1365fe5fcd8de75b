#include "core/pilot/PilotFieldCodecs.h"

#include "core/codec/ByteCodec.h"
#include "core/codec/NibblePairCodec.h"

namespace starfall {

namespace {

constexpr int kPersonalityShift = 4;
constexpr std::uint8_t kPersonalityBits = 0x30;

bool isItem(const ListChoice& choice, std::size_t itemCount) {
    const int index = choice.indexOr(-1);
    return index >= 0 && static_cast<std::size_t>(index) < itemCount;
}

} // namespace

ListChoice SpiritCommand::decode(int byte) {
    if (byte >= 1 && byte <= static_cast<int>(kItems.size()))
        return ListChoice::item(byte - 1);
    return ListChoice::none();
}

std::uint8_t SpiritCommand::encode(const ListChoice& choice) {
    if (const auto code = choice.unlistedCode())
        return static_cast<std::uint8_t>(*code);
    return isItem(choice, kItems.size()) ? static_cast<std::uint8_t>(choice.indexOr() + 1) : 0;
}

ListChoice Personality::decode(int byte) {
    const auto nibbles = NibblePairCodec::decode(byte, NibblePairCodec::DigitRule::Hex);
    return ListChoice::item(nibbles.high % static_cast<int>(kItems.size()));
}

std::uint8_t Personality::encode(const ListChoice& choice, std::uint8_t stored) {
    if (!isItem(choice, kItems.size()))
        return stored;
    const auto kept = static_cast<std::uint8_t>(stored & ~kPersonalityBits);
    return static_cast<std::uint8_t>(kept | (choice.indexOr() << kPersonalityShift));
}

} // namespace starfall
