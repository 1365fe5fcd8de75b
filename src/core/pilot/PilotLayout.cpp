#include "core/pilot/PilotLayout.h"

#include "core/pilot/PilotFields.h"
#include "core/sector/SectorGeometry.h"

#include <algorithm>
#include <array>

namespace starfall {

namespace {

// The one record whose stat block runs over a sector boundary: after the
// low byte of hit (offset 4) the rest lies one gap further on.
constexpr std::int32_t kStatGapAddress = 17947;
constexpr RecordOffset kStatGapFrom = 5;

// Records whose personality byte lies in the sector before the record.
constexpr std::array<std::int32_t, 3> kPersonalityGapAddresses = {4144, 8850, 15905};

} // namespace

Position pilotBytePosition(const PilotReference& reference, RecordOffset offset) {
    const Position at = reference.position + offset;
    if (offset >= kStatGapFrom && reference.address == kStatGapAddress)
        return at + kSectorGap;
    const bool beforeGap =
        std::find(kPersonalityGapAddresses.begin(), kPersonalityGapAddresses.end(),
                  reference.address) != kPersonalityGapAddresses.end();
    return offset < 0 && beforeGap ? at - kSectorGap : at;
}

std::vector<Position> pilotRecordPositions(const PilotReference& reference, PilotRecordKind kind) {
    return pilotLayout(kind).positions(
        [&reference](RecordOffset offset) { return pilotBytePosition(reference, offset); });
}

std::vector<Position> pilotRecordPositions(const PilotReference& reference) {
    return pilotRecordPositions(reference, classifyPilotRecord(reference.address));
}

Position pilotRecordLastPosition(const PilotReference& reference) {
    return pilotLayout(classifyPilotRecord(reference.address))
        .lastPosition([&reference](RecordOffset offset) {
            return pilotBytePosition(reference, offset);
        });
}

} // namespace starfall
