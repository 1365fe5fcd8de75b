#include "core/unit/UnitLayout.h"

#include "core/codec/FixedName.h"
#include "core/record/PositionWalker.h"
#include "core/sector/SectorGeometry.h"

namespace starfall {

namespace {

// The five records that a stretch of sector framing splits. The unit at
// 22672 lies like the one at 6208: without its gap its abilities would be
// read and written inside the framing.
bool gapAfterTerrain(const UnitPlace& u) {
    return u.address == 10922;
}
bool gapAfterMobility(const UnitPlace& u) {
    static const FixedName dankuga("단쿠가");
    return dankuga.matches(u.name);
}
bool gapAfterLimit(const UnitPlace& u) {
    return u.address == 13268;
}
bool gapAfterEn(const UnitPlace& u) {
    return u.position == 46329404;
}
bool gapAfterHp(const UnitPlace& u) {
    return u.address == 6208 || u.address == 22672;
}

constexpr Position kRepairCostOffset = -4;

} // namespace

std::vector<Position> unitRecordPositions(const UnitPlace& place) {
    PositionWalker walker(place.position);
    walker.take(4); // movement, packed byte, two terrain bytes
    if (gapAfterTerrain(place))
        walker.skip(kSectorGap);
    walker.take(4); // armor, mobility
    if (gapAfterMobility(place))
        walker.skip(kSectorGap);
    walker.take(2); // limit
    if (gapAfterLimit(place))
        walker.skip(kSectorGap);
    walker.take(2); // EN
    if (gapAfterEn(place))
        walker.skip(kSectorGap);
    walker.take(2); // HP
    if (gapAfterHp(place))
        walker.skip(kSectorGap);
    for (int ability = 0; ability < 4; ++ability) {
        if (ability > 0)
            walker.skip(1);
        walker.take(1);
    }
    walker.seek(place.position + kRepairCostOffset).take(2);
    return walker.release();
}

} // namespace starfall
