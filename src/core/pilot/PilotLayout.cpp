#include "core/pilot/PilotLayout.h"

#include "core/record/PositionWalker.h"
#include "core/sector/SectorGeometry.h"

#include <algorithm>
#include <array>

namespace starfall {

namespace {

// The one record whose stat block runs over a sector boundary: after the
// low byte of hit (offset 4) the rest lies one gap further on.
constexpr std::int32_t kStatGapAddress = 17947;
constexpr int kBytesBeforeStatGap = 5;

// Records whose personality byte lies in the sector before the record.
constexpr std::array<std::int32_t, 3> kPersonalityGapAddresses = {4144, 8850, 15905};

constexpr Position kPersonalityOffset = -6;

void takeStatBlock(PositionWalker& walker, std::int32_t address) {
    if (address != kStatGapAddress) {
        walker.take(kStatBlockSize);
        return;
    }
    walker.take(kBytesBeforeStatGap).skip(kSectorGap).take(kStatBlockSize - kBytesBeforeStatGap);
}

} // namespace

Position personalityPosition(const PilotReference& reference) {
    const bool beforeGap =
        std::find(kPersonalityGapAddresses.begin(), kPersonalityGapAddresses.end(),
                  reference.address) != kPersonalityGapAddresses.end();
    return reference.position + kPersonalityOffset - (beforeGap ? kSectorGap : 0);
}

std::vector<Position> pilotRecordPositions(const PilotReference& reference, PilotRecordKind kind) {
    PositionWalker walker(reference.position);
    if (hasStatBlock(kind))
        takeStatBlock(walker, reference.address);
    if (hasSpiritBlock(kind))
        walker.take(kSpiritBlockSize);
    if (hasStatBlock(kind))
        walker.seek(personalityPosition(reference)).take();
    return walker.release();
}

std::vector<Position> pilotRecordPositions(const PilotReference& reference) {
    return pilotRecordPositions(reference, classifyPilotRecord(reference.address));
}

} // namespace starfall
