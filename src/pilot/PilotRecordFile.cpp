#include "pilot/PilotRecordFile.h"

#include "image/ImageAccess.h"
#include "image/Messages.h"
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

void savePilotRecord(const std::string& imagePath, const PilotReference& reference,
                     const PilotRecord& record) {
    const auto positions = pilotRecordPositions(reference, record.kind);
    const auto values = encodePilotRecord(record);
    writeBytes(imagePath, zipPlan(positions, values), messages::pilotRecordLabel(reference.name));
}

} // namespace starfall
