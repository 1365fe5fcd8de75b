#pragma once

// The table of stat increases per unit upgrade stage: nine rows of ten
// unsigned 16-bit values, low byte first, at fixed positions of the image.

#include "core/io/Position.h"
#include "core/record/RecordLayout.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

inline constexpr int kUpgradeRowCount = 9;
inline constexpr int kUpgradeStageCount = 10;

struct UpgradeRowInfo {
    std::string_view label; // as the page shows it
    std::string_view key;   // as the command line and JSON name it
    Position position;      // stage 1's low byte
    int firstEditId;        // the edit box of stage 1; stage k is firstEditId + k - 1
};

// In the order the rows are read and written.
inline constexpr std::array<UpgradeRowInfo, kUpgradeRowCount> kUpgradeRows{{
    {"HP", "hp", 0x2C43B24, 1201},
    {"EN", "en", 0x2C43B10, 1301},
    {"运动性", "mobility", 0x2C43B38, 1401},
    {"装假", "armor", 0x2C43AFC, 1501},
    {"界限", "limit", 0x2C43AE8, 1601},
    {"A型", "type_a", 0x2C43BB0, 1107},
    {"B型", "type_b", 0x2C43BC4, 1117},
    {"C型", "type_c", 0x2C43BD8, 1127},
    {"D型", "type_d", 0x2C43BEC, 1137},
}};

// The values as the edit boxes hold them: decimal texts, as every record
// keeps them (a save takes the decimal parse and cuts it to 16 bits).
struct UpgradeTable {
    // No `{}`: std::string starts empty anyway, and clang 14 crashes on the
    // default member initializer of this nested array of strings.
    std::array<std::array<std::string, kUpgradeStageCount>, kUpgradeRowCount> values;
    LoadedBytes loaded;

    bool operator==(const UpgradeTable&) const = default;
};

[[nodiscard]] const RecordLayout<UpgradeTable>& upgradeLayout();
// hp.1 to hp.10, en.1, ... type_d.10: stage K of each row.
[[nodiscard]] inline const FieldTable<UpgradeTable>& upgradeFields() {
    return upgradeLayout().fields();
}

// Low byte of stage `stage` (1-10) of row `row` (0-8); the high byte follows.
[[nodiscard]] Position upgradeValuePosition(int row, int stage);

// All 180 byte positions, in the order of the layout.
[[nodiscard]] std::vector<Position> upgradeTablePositions();

[[nodiscard]] UpgradeTable decodeUpgradeTable(std::span<const int> bytes);
[[nodiscard]] std::vector<std::uint8_t> encodeUpgradeTable(const UpgradeTable& table);

// Throws CoreError(ImageOpenForLoad) when the image cannot be opened.
[[nodiscard]] UpgradeTable loadUpgradeTable(const std::string& imagePath);
// The bits of the values that differ from what the table was read as.
[[nodiscard]] std::vector<ByteWrite> upgradeTableSavePlan(const UpgradeTable& table);
// Writes upgradeTableSavePlan; afterwards the record counts as read
// from what it wrote. Returns and throws as writeBytes does.
SaveReport saveUpgradeTable(const std::string& imagePath, UpgradeTable& table,
                            CodeRule codes = CodeRule::Refresh);

} // namespace starfall
