#pragma once

// The four terrain fields that units, pilots and weapons share by key, and the
// five-grade terrain rank field of units and pilots.

#include "core/codec/TerrainRank.h"
#include "core/record/FieldTable.h"

#include <array>

namespace starfall {

// In the order of the terrain lists: air, space, land, sea.
inline constexpr std::array<const char*, 4> kTerrainKeys = {"terrain.air", "terrain.space",
                                                            "terrain.land", "terrain.sea"};

// A terrain rank in the nibble `bits` names, read by the decimal-digit rule.
template <typename Record, typename Access>
[[nodiscard]] Field<Record> terrainRankField(std::string key, FieldBits bits, Access access) {
    static const KeptCodes codes(TerrainRank::kCodes);
    return choiceField<Record>(std::move(key), bits, TerrainRank::kItems, codes, access,
                               [](StoredBits stored, std::span<const int>) {
                                   return TerrainRank::decodeNibble(stored.value);
                               });
}

} // namespace starfall
