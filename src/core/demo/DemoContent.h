#pragma once

// The made-up records of the demo image. Addresses are chosen so that every
// record lies in sectors' data areas under the list base offsets below, and
// so that the split records and special names of the layouts each appear once.

#include "core/io/Position.h"
#include "core/record/FieldTable.h"

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace starfall::demo {

// Base offsets of the two list files. They put the fixed split points of the
// pilot and unit tables where a sector's data area ends.
inline constexpr Position kPilotBase = 45998648;
inline constexpr Position kUnitBase = 46320842;

// Bits no field owns, at an offset of the record (see its field table).
struct DemoBits {
    RecordOffset offset = 0;
    std::uint8_t bits = 0;
};

// Each record's values as `set` takes them: "key=value; key=value", a list
// field by its item text or "#code". Fields not named are stored as zero.
struct DemoPilot {
    std::string_view name; // UTF-8; the list file holds it in code page 949
    std::int32_t address = 0;
    std::string_view values;
    std::string_view skills; // "skill=level; ..." for slots 1, 2, ...
    std::vector<DemoBits> otherBits = {};
};

struct DemoUnit {
    std::string_view name;
    std::int32_t address = 0;
    std::string_view values;
    std::vector<std::uint16_t> weapons; // weapon numbers, in list order
    std::uint8_t entryHighBits = 0;     // bits 3-7 of each entry's second byte
    std::vector<DemoBits> otherBits = {};
};

struct DemoWeapon {
    std::string_view name;
    int number = 0;
    std::string_view values;
};

[[nodiscard]] const std::vector<DemoPilot>& demoPilots();
[[nodiscard]] const std::vector<DemoUnit>& demoUnits();
[[nodiscard]] const std::vector<DemoWeapon>& demoWeapons();
// Nine rows of ten stages: HP, EN, mobility, armor, limit, types A-D.
[[nodiscard]] const std::array<std::array<std::uint16_t, 10>, 9>& demoUpgradeRows();

} // namespace starfall::demo
