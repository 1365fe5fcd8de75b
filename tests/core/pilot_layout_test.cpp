#include "core/pilot/PilotLayout.h"
#include "core/pilot/PilotRecordKind.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace starfall {
namespace {

std::vector<Position> run(Position first, int count) {
    std::vector<Position> positions(static_cast<std::size_t>(count));
    std::iota(positions.begin(), positions.end(), first);
    return positions;
}

std::vector<Position> join(std::initializer_list<std::vector<Position>> parts) {
    std::vector<Position> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(PilotRecordKind, ClassifiesByAddressWithRangeEnds) {
    struct Row {
        std::int32_t address;
        PilotRecordKind kind;
    };
    using K = PilotRecordKind;
    const Row rows[] = {
        {0, K::Full},
        {2786, K::StatsOnly},
        {2787, K::Full},
        {18495, K::StatsOnly},
        {14456, K::Full},
        {14457, K::StatsOnly},
        {14577, K::StatsOnly},
        {14578, K::Full},
        {15372, K::Full},
        {15373, K::StatsOnly},
        {16439, K::StatsOnly},
        {16440, K::Full},
        {16898, K::StatsOnly},
        {17166, K::StatsOnly},
        {17445, K::StatsOnly},
        {17499, K::StatsOnly},
        {17757, K::Full},
        {17947, K::StatsOnly},
        {17948, K::Full},
        {15188, K::SpiritsOnly},
        {15240, K::SpiritsOnly},
        {15276, K::SpiritsOnly},
        {15328, K::SpiritsOnly},
        {15189, K::Full},
        {4144, K::Full},
        {8850, K::Full},
        {15905, K::StatsOnly},
        {-2786, K::Full},
    };
    for (const Row& row : rows)
        EXPECT_EQ(classifyPilotRecord(row.address), row.kind) << "address " << row.address;
    EXPECT_EQ(kindName(K::Full), "Full");
    EXPECT_EQ(kindName(K::StatsOnly), "StatsOnly");
    EXPECT_EQ(kindName(K::SpiritsOnly), "SpiritsOnly");
}

TEST(PilotLayout, EachKindAndGapCaseTakesItsBytesInFieldOrder) {
    constexpr Position P = 50000;
    struct Row {
        std::int32_t address;
        std::vector<Position> positions;
    };
    const Row rows[] = {
        {100, join({run(P, 26), {P - 6}})},                   // Full
        {2786, join({run(P, 14), {P - 6}})},                  // StatsOnly
        {15188, run(P, 12)},                                  // SpiritsOnly
        {17947, join({run(P, 5), run(P + 309, 9), {P - 6}})}, // stat block over a gap
        {4144, join({run(P, 26), {P - 310}})},                // personality one gap back
        {8850, join({run(P, 26), {P - 310}})},
        {15905, join({run(P, 14), {P - 310}})},
    };
    for (const Row& row : rows) {
        const PilotReference reference{row.address, P, "x"};
        EXPECT_EQ(pilotRecordPositions(reference), row.positions) << "address " << row.address;
        EXPECT_EQ(pilotRecordLastPosition(reference),
                  *std::max_element(row.positions.begin(), row.positions.end()))
            << "address " << row.address;
    }
}

TEST(PilotLayout, TheKindOfTheLoadDecidesTheBlocksAndTheAddressTheGaps) {
    // A record saved with the kind it was loaded with, whatever base offset.
    const PilotReference gap{17947, 1000, "x"};
    EXPECT_EQ(pilotRecordPositions(gap, PilotRecordKind::Full),
              join({run(1000, 5), run(1309, 9), run(1318, 12), {994}}));
    EXPECT_EQ(pilotRecordPositions({4144, 1000, "x"}, PilotRecordKind::SpiritsOnly), run(1000, 12));
}

} // namespace
} // namespace starfall
