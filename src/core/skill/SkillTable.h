#pragma once

#include "core/codec/ListChoice.h"
#include "core/io/Position.h"
#include "core/record/LoadedBytes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

// Skill code = 33 + list index. The five families take nine consecutive
// codes each, Lv1 first.
struct SkillItems {
    static constexpr int kFirstCode = 33;
    static constexpr std::array<std::string_view, 51> kItems = {
        "NT Lv1",       "NT Lv2",       "NT Lv3",       "NT Lv4",       "NT Lv5",
        "NT Lv6",       "NT Lv7",       "NT Lv8",       "NT Lv9",       "强化人间 Lv1",
        "强化人间 Lv2", "强化人间 Lv3", "强化人间 Lv4", "强化人间 Lv5", "强化人间 Lv6",
        "强化人间 Lv7", "强化人间 Lv8", "强化人间 Lv9", "圣战士 Lv1",   "圣战士 Lv2",
        "圣战士 Lv3",   "圣战士 Lv4",   "圣战士 Lv5",   "圣战士 Lv6",   "圣战士 Lv7",
        "圣战士 Lv8",   "圣战士 Lv9",   "盾防御 Lv1",   "盾防御 Lv2",   "盾防御 Lv3",
        "盾防御 Lv4",   "盾防御 Lv5",   "盾防御 Lv6",   "盾防御 Lv7",   "盾防御 Lv8",
        "盾防御 Lv9",   "剑切 Lv1",     "剑切 Lv2",     "剑切 Lv3",     "剑切 Lv4",
        "剑切 Lv5",     "剑切 Lv6",     "剑切 Lv7",     "剑切 Lv8",     "剑切 Lv9",
        "底力",         "明镜止水",     "高速移动",     "天才",         "GUT1",
        "GUT2"};
};

struct SkillSlot {
    ListChoice skill = ListChoice::none();
    std::string level;   // decimal text of the learn level
    bool locked = false; // shown but never written (a name rule)

    bool operator==(const SkillSlot&) const = default;
};

inline constexpr int kMaxSkillSlots = 19;

// A pilot's skill table as read: one slot per slot found before the ending
// zero code, at most 19. Only these slots are ever written.
struct SkillTable {
    std::string name;   // the pilot's list name, code page 949
    Position start = 0; // T
    std::vector<SkillSlot> slots;
    LoadedBytes loaded; // code and level of every slot position read

    bool operator==(const SkillTable&) const = default;
};

} // namespace starfall
