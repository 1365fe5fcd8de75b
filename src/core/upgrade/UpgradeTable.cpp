#include "core/upgrade/UpgradeTable.h"

#include "core/codec/WordCodec.h"
#include "core/io/ImageAccess.h"
#include "core/record/ByteCursor.h"
#include "core/text/RecordNames.h"

namespace starfall {

Position upgradeValuePosition(int row, int stage) {
    return kUpgradeRows[static_cast<std::size_t>(row)].position + 2 * Position{stage - 1};
}

std::vector<Position> upgradeTablePositions() {
    std::vector<Position> positions;
    positions.reserve(kUpgradeTableBytes);
    for (int row = 0; row < kUpgradeRowCount; ++row) {
        for (int stage = 1; stage <= kUpgradeStageCount; ++stage) {
            const Position low = upgradeValuePosition(row, stage);
            positions.push_back(low);
            positions.push_back(low + 1);
        }
    }
    return positions;
}

UpgradeTable decodeUpgradeTable(std::span<const int> bytes) {
    ByteCursor cursor(bytes);
    UpgradeTable table;
    for (auto& row : table.values) {
        for (auto& value : row) {
            const int low = cursor.next();
            value = WordCodec::decode(low, cursor.next());
        }
    }
    table.loaded.bytes.assign(bytes.begin(), bytes.end());
    return table;
}

std::vector<std::uint8_t> encodeUpgradeTable(const UpgradeTable& table) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kUpgradeTableBytes);
    for (const auto& row : table.values) {
        for (const auto& value : row) {
            const auto pair = WordCodec::encode(value);
            bytes.insert(bytes.end(), pair.begin(), pair.end());
        }
    }
    return bytes;
}

const FieldTable<UpgradeTable>& upgradeFields() {
    static const FieldTable<UpgradeTable> fields = [] {
        FieldTable<UpgradeTable> table;
        for (std::size_t row = 0; row < kUpgradeRows.size(); ++row) {
            for (std::size_t stage = 0; stage < kUpgradeStageCount; ++stage) {
                const std::size_t low = 2 * (row * kUpgradeStageCount + stage);
                table.push_back(numberField<UpgradeTable>(
                    std::string(kUpgradeRows[row].key) + "." + std::to_string(stage + 1),
                    {{low, 0xFF}, {low + 1, 0xFF}}, kWordRange,
                    [ row, stage ](auto& t) -> auto& { return t.values[row][stage]; }));
            }
        }
        return table;
    }();
    return fields;
}

UpgradeTable loadUpgradeTable(const std::string& imagePath) {
    const auto positions = upgradeTablePositions();
    return decodeUpgradeTable(readBytes(imagePath, positions));
}

std::vector<ByteWrite> upgradeTableSavePlan(const UpgradeTable& table) {
    return recordSavePlan(upgradeFields(), upgradeTablePositions(), encodeUpgradeTable(table),
                          table,
                          [](std::span<const int> bytes) { return decodeUpgradeTable(bytes); });
}

void saveUpgradeTable(const std::string& imagePath, UpgradeTable& table) {
    writeRecordSave(imagePath, upgradeTablePositions(), upgradeTableSavePlan(table), table.loaded,
                    messages::upgradeTableLabel());
}

} // namespace starfall
