#include "core/codec/TerrainRank.h"

namespace starfall {

ListChoice TerrainRank::decodeNibble(int nibble) {
    const int index = kCodes.front() - (nibble > 9 ? 0 : nibble);
    if (index < 0 || index >= static_cast<int>(kItems.size()))
        return ListChoice::none();
    return ListChoice::item(index);
}

} // namespace starfall
