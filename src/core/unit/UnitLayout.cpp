#include "core/unit/UnitLayout.h"

#include "core/codec/FixedName.h"
#include "core/sector/SectorGeometry.h"
#include "core/unit/UnitFields.h"

#include <array>

namespace starfall {

namespace {

// The five records that a stretch of sector framing splits, each at the
// offset from which its bytes lie one gap further on. The unit at 22672 lies
// like the one at 6208: without its gap its abilities would be read and
// written inside the framing.
struct GapPoint {
    RecordOffset from;
    bool (*applies)(const UnitPlace&);
};

constexpr std::size_t kGapCount = 5;
const std::array<GapPoint, kGapCount> kGapPoints = {{
    {4, [](const UnitPlace& u) { return u.address == 10922; }}, // after the terrain bytes
    {8,
     [](const UnitPlace& u) {
         static const FixedName dankuga("단쿠가");
         return dankuga.matches(u.name);
     }},                                                             // after mobility
    {10, [](const UnitPlace& u) { return u.address == 13268; }},     // after limit
    {12, [](const UnitPlace& u) { return u.position == 46329404; }}, // after EN
    {14, [](const UnitPlace& u) { return u.address == 6208 || u.address == 22672; }}, // after HP
}};

// Which gap points the record has.
using Gaps = std::array<bool, kGapCount>;

Gaps gapsOf(const UnitPlace& place) {
    Gaps gaps{};
    for (std::size_t i = 0; i < kGapCount; ++i)
        gaps[i] = kGapPoints[i].applies(place);
    return gaps;
}

Position positionOf(const UnitPlace& place, const Gaps& gaps, RecordOffset offset) {
    Position position = place.position + offset;
    for (std::size_t i = 0; i < kGapCount; ++i) {
        if (offset >= kGapPoints[i].from && gaps[i])
            position += kSectorGap;
    }
    return position;
}

} // namespace

Position unitBytePosition(const UnitPlace& place, RecordOffset offset) {
    return positionOf(place, gapsOf(place), offset);
}

// The gap points are asked once for all the record's bytes: one of them
// compares the record's name.
std::vector<Position> unitRecordPositions(const UnitPlace& place) {
    const Gaps gaps = gapsOf(place);
    return unitLayout().positions(
        [&](RecordOffset offset) { return positionOf(place, gaps, offset); });
}

Position unitRecordLastPosition(const UnitPlace& place) {
    return unitLayout().lastPosition(
        [&place](RecordOffset offset) { return unitBytePosition(place, offset); });
}

} // namespace starfall
