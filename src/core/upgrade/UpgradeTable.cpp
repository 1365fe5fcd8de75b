#include "core/upgrade/UpgradeTable.h"

#include "core/io/ImageAccess.h"
#include "core/text/RecordNames.h"

namespace starfall {

Position upgradeValuePosition(int row, int stage) {
    return kUpgradeRows[static_cast<std::size_t>(row)].position + 2 * Position{stage - 1};
}

namespace {

constexpr RecordOffset kRowBytes = 2 * kUpgradeStageCount;

} // namespace

const RecordLayout<UpgradeTable>& upgradeLayout() {
    // The rows one after another, each ten words; each row lies at its own place.
    static const RecordLayout<UpgradeTable> layout([] {
        FieldTable<UpgradeTable> fields;
        fields.reserve(kUpgradeRows.size() * kUpgradeStageCount);
        for (std::size_t row = 0; row < kUpgradeRows.size(); ++row) {
            for (std::size_t stage = 0; stage < kUpgradeStageCount; ++stage) {
                const auto low = static_cast<RecordOffset>(kRowBytes * row + 2 * stage);
                fields.push_back(numberField<UpgradeTable>(
                    std::string(kUpgradeRows[row].key) + "." + std::to_string(stage + 1),
                    wordAt(low), kWordRange,
                    [ row, stage ](auto& t) -> auto& { return t.values[row][stage]; }));
            }
        }
        return fields;
    }());
    return layout;
}

std::vector<Position> upgradeTablePositions() {
    return upgradeLayout().positions([](RecordOffset offset) {
        return upgradeValuePosition(offset / kRowBytes, 1) + offset % kRowBytes;
    });
}

UpgradeTable decodeUpgradeTable(std::span<const int> bytes) {
    return upgradeLayout().decode(bytes);
}

std::vector<std::uint8_t> encodeUpgradeTable(const UpgradeTable& table) {
    return upgradeLayout().encode(table);
}

UpgradeTable loadUpgradeTable(const std::string& imagePath) {
    return decodeUpgradeTable(readBytes(imagePath, upgradeTablePositions()));
}

std::vector<ByteWrite> upgradeTableSavePlan(const UpgradeTable& table) {
    return upgradeLayout().savePlan(upgradeTablePositions(), table);
}

SaveReport saveUpgradeTable(const std::string& imagePath, UpgradeTable& table, CodeRule codes) {
    return writeRecordSave(imagePath, upgradeLayout(), upgradeTablePositions(),
                           upgradeTableSavePlan(table), table.loaded,
                           messages::upgradeTableLabel(), codes);
}

} // namespace starfall
