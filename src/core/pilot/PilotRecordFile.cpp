#include "core/pilot/PilotRecordFile.h"

#include "core/io/ImageAccess.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordCodec.h"
#include "core/text/RecordNames.h"

namespace starfall {

PilotRecord loadPilotRecord(const std::string& imagePath, const PilotReference& reference,
                            PilotRecord previous) {
    const PilotRecordKind kind = classifyPilotRecord(reference.address);
    const auto positions = pilotRecordPositions(reference, kind);
    const auto bytes = readBytes(imagePath, positions);
    return decodePilotRecord(kind, bytes, std::move(previous));
}

std::vector<ByteWrite> pilotSavePlan(const PilotReference& reference, const PilotRecord& record) {
    const PilotRecordKind kind = record.kind;
    return recordSavePlan(
        pilotFields(kind), pilotRecordPositions(reference, kind), encodePilotRecord(record), record,
        [kind](std::span<const int> bytes) { return decodePilotRecord(kind, bytes); });
}

void savePilotRecord(const std::string& imagePath, const PilotReference& reference,
                     PilotRecord& record) {
    writeRecordSave(imagePath, pilotRecordPositions(reference, record.kind),
                    pilotSavePlan(reference, record), record.loaded,
                    messages::pilotRecordLabel(reference.name));
}

} // namespace starfall
