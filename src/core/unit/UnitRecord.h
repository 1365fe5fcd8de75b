#pragma once

// A unit record as the unit page shows it, its list items, and where it lies.

#include "core/codec/ListChoice.h"
#include "core/io/Position.h"
#include "core/record/LoadedBytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace starfall {

struct NameList;

// An item's position in the list is its stored ability code.
inline constexpr std::array<std::string_view, 19> kUnitAbilityItems = {
    "없음",       "빔코트",   "I필드",      "오라 바리어", "이데아 바리어",
    "분신",       "게타비젼", "마하스페샬", "진.게타비젼", "HP회복(소)",
    "HP회복(대)", "폭주",     "수퍼모드",   "버서커모드",  "AT필드",
    "합체",       "분리",     "변형",       "S2기관"};

inline constexpr std::array<std::string_view, 10> kMovementTypeItems = {
    "陆地", "空中", "水陆", "宇宙", "空陆", "水空", "水陆空", "陆地中", "空陆地", "水中"};
// The stored code of each movement type item; the other codes have no item.
inline constexpr std::array<int, 10> kMovementTypeCodes = {0, 2, 4, 5, 6, 7, 8, 9, 10, 12};

inline constexpr std::array<std::string_view, 4> kPartsSlotItems = {"1个", "2个", "3个", "4个"};

// Terrain order of the four lists: air, space, land, sea.
struct UnitRecord {
    std::string movement;
    ListChoice partsSlots = ListChoice::none();
    ListChoice movementType = ListChoice::none(); // unlisted codes are kept
    std::array<ListChoice, 4> terrain{ListChoice::none(), ListChoice::none(), ListChoice::none(),
                                      ListChoice::none()};
    std::string armor, mobility, limit, en, hp, repairCost;
    // Ability codes 0-18 as items; 19-255 kept as unlisted; none past the end.
    std::array<ListChoice, 4> abilities{ListChoice::none(), ListChoice::none(), ListChoice::none(),
                                        ListChoice::none()};
    LoadedBytes loaded;

    bool operator==(const UnitRecord&) const = default;
};

// Address A (gap points 1, 3 and 5), position P = base + A (gap point 4) and
// the list name in code page 949 (gap point 2).
struct UnitPlace {
    std::int32_t address = 0;
    Position position = 0;
    std::string name;

    [[nodiscard]] static UnitPlace fromList(const NameList& list, std::size_t index);
};

} // namespace starfall
