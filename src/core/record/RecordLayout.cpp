#include "core/record/RecordLayout.h"

namespace starfall {

void noteSaved(LoadedBytes& loaded, std::span<const Position> positions,
               std::span<const ByteWrite> plan) {
    if (loaded.bytes.size() != positions.size())
        return;
    for (const ByteWrite& write : plan) {
        for (std::size_t i = 0; i < positions.size(); ++i) {
            if (positions[i] == write.position && loaded.bytes[i] >= 0)
                loaded.bytes[i] = (loaded.bytes[i] & ~write.mask) | (write.value & write.mask);
        }
    }
}

SaveReport writeRecordSave(const std::string& path, std::span<const Position> positions,
                           std::span<const ByteWrite> plan, LoadedBytes& loaded,
                           std::string_view record, CodeRule codes,
                           std::vector<FieldChange> fields) {
    checkPositions(positions, path);
    SaveReport report = writeBytes(path, plan, record, FramingRule::Refuse, codes,
                                   {HistoryAction::Save, 0, std::move(fields)});
    noteSaved(loaded, positions, plan);
    return report;
}

} // namespace starfall
