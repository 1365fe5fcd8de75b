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

const std::array<GapPoint, 5> kGapPoints = {{
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

} // namespace

Position unitBytePosition(const UnitPlace& place, RecordOffset offset) {
    Position position = place.position + offset;
    for (const GapPoint& gap : kGapPoints) {
        if (offset >= gap.from && gap.applies(place))
            position += kSectorGap;
    }
    return position;
}

std::vector<Position> unitRecordPositions(const UnitPlace& place) {
    return unitLayout().positions(
        [&place](RecordOffset offset) { return unitBytePosition(place, offset); });
}

Position unitRecordLastPosition(const UnitPlace& place) {
    return unitLayout().lastPosition(
        [&place](RecordOffset offset) { return unitBytePosition(place, offset); });
}

} // namespace starfall
