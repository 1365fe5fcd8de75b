#include "core/pilot/PilotRecordFile.h"

#include "core/io/ImageAccess.h"
#include "core/pilot/PilotFields.h"
#include "core/pilot/PilotLayout.h"
#include "core/text/RecordNames.h"

namespace starfall {

PilotRecord decodePilotRecord(PilotRecordKind kind, std::span<const int> bytes,
                              PilotRecord previous) {
    previous.kind = kind;
    return pilotLayout(kind).decode(bytes, std::move(previous));
}

std::vector<std::uint8_t> encodePilotRecord(const PilotRecord& record) {
    return pilotLayout(record.kind).encode(record);
}

PilotRecord loadPilotRecord(const std::string& imagePath, const PilotReference& reference,
                            PilotRecord previous) {
    const PilotRecordKind kind = classifyPilotRecord(reference.address);
    const auto bytes = readBytes(imagePath, pilotRecordPositions(reference, kind));
    return decodePilotRecord(kind, bytes, std::move(previous));
}

std::vector<ByteWrite> pilotSavePlan(const PilotReference& reference, const PilotRecord& record) {
    return pilotLayout(record.kind).savePlan(pilotRecordPositions(reference, record.kind), record);
}

SaveReport savePilotRecord(const std::string& imagePath, const PilotReference& reference,
                           PilotRecord& record, CodeRule codes) {
    return writeRecordSave(imagePath, pilotLayout(record.kind),
                           pilotRecordPositions(reference, record.kind),
                           pilotSavePlan(reference, record), record.loaded,
                           messages::pilotRecordLabel(reference.name), codes);
}

} // namespace starfall
