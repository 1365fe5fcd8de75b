#include "pilot/PilotRecordFile.h"

#include "image/ImageAccess.h"
#include "image/Messages.h"
#include "pilot/PilotFields.h"
#include "pilot/PilotLayout.h"
#include "pilot/PilotRecordCodec.h"

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
