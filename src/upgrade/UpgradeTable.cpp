#include "upgrade/UpgradeTable.h"

#include "image/ByteCursor.h"
#include "image/ImageAccess.h"
#include "image/Messages.h"
#include "image/WordCodec.h"

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
            value = WordCodec::value(low, cursor.next());
        }
    }
    return table;
}

std::vector<std::uint8_t> encodeUpgradeTable(const UpgradeTable& table) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kUpgradeTableBytes);
    for (const auto& row : table.values) {
        for (const auto value : row) {
            const auto pair = WordCodec::encodeValue(value);
            bytes.insert(bytes.end(), pair.begin(), pair.end());
        }
    }
    return bytes;
}

UpgradeTable loadUpgradeTable(const std::string& imagePath) {
    const auto positions = upgradeTablePositions();
    return decodeUpgradeTable(readBytes(imagePath, positions));
}

void saveUpgradeTable(const std::string& imagePath, const UpgradeTable& table) {
    const auto positions = upgradeTablePositions();
    const auto values = encodeUpgradeTable(table);
    writeBytes(imagePath, zipPlan(positions, values), messages::upgradeTableLabel());
}

} // namespace starfall
