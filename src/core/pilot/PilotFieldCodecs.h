#pragma once

// The two list fields that only the pilot record has: the spirit commands and
// the personality. Terrain ranks are shared with units (TerrainRank.h).

#include "core/codec/ListChoice.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace starfall {

// Stored code = list index + 1; 0 is no command.
struct SpiritCommand {
    static constexpr std::array<std::string_view, 30> kItems = {
        "根性", "补给", "超根性", "热血", "友情", "必中", "爱",   "必闪", "手加减", "气合",
        "幸运", "信赖", "加速",   "觉醒", "集中", "激励", "再动", "复活", "隐身",   "脱力",
        "自爆", "援助", "搅乱",   "铁壁", "魂",   "努力", "挑拨", "梦",   "奇迹",   "侦察"};

    // Codes 1-30 select an item; 0, 31-255 and a byte past the end select
    // nothing, and a save leaves such a code as it is.
    [[nodiscard]] static ListChoice decode(int byte);
};

// Bits 5-4 of the byte before the record, stored as the item's position.
struct Personality {
    static constexpr std::array<std::string_view, 4> kItems = {"弱气", "普通", "强气", "超强气"};
};

} // namespace starfall
