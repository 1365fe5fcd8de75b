#pragma once

// The made-up records of the demo image. Addresses are chosen so that every
// record lies in sectors' data areas under the list base offsets below, and
// so that the split records and special names of the layouts each appear once.

#include "core/io/Position.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace starfall::demo {

// Base offsets of the two list files. They put the fixed split points of the
// pilot and unit tables where a sector's data area ends.
inline constexpr Position kPilotBase = 45998648;
inline constexpr Position kUnitBase = 46320842;

struct SkillBytes {
    std::uint8_t code = 0;
    std::uint8_t level = 0;
};

struct DemoPilot {
    std::string_view name; // UTF-8; the list file holds it in code page 949
    std::int32_t address = 0;
    std::array<std::uint8_t, 14> stats{};   // the stat block as stored
    std::array<std::uint8_t, 12> spirits{}; // code, level for each of six
    std::uint8_t personality = 0x10;
    std::vector<SkillBytes> skills;
};

struct DemoUnit {
    std::string_view name;
    std::int32_t address = 0;
    std::array<std::uint8_t, 20> record{}; // repair cost (2), then P to P+13, four abilities
    std::vector<std::uint16_t> weapons;    // weapon numbers, in list order
    std::uint8_t entryHighBits = 0;        // bits 3-7 of each entry's second byte
};

struct DemoWeapon {
    std::string_view name;
    int number = 0;
    std::array<std::uint8_t, 17> record{};
};

[[nodiscard]] const std::vector<DemoPilot>& demoPilots();
[[nodiscard]] const std::vector<DemoUnit>& demoUnits();
[[nodiscard]] const std::vector<DemoWeapon>& demoWeapons();
// Nine rows of ten stages: HP, EN, mobility, armor, limit, types A-D.
[[nodiscard]] const std::array<std::array<std::uint16_t, 10>, 9>& demoUpgradeRows();

} // namespace starfall::demo
