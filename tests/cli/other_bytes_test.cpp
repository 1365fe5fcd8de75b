// A patch's or a diff's changed bytes that no record holds are reported as
// ranges, with the code bytes of raw sectors counted apart; bytes a record
// holds are left to the record's own report.

#include "cli/RecordChanges.h"
#include "core/sector/SectorGeometry.h"

#include <gtest/gtest.h>

namespace starfall {
namespace {

using nlohmann::json;

json reportOf(std::vector<Position> known, bool raw,
              const std::vector<std::pair<Position, std::size_t>>& runs) {
    cli::OtherBytes bytes(std::move(known), raw);
    for (const auto& [start, length] : runs)
        bytes.addRun(start, length);
    json out = json::object();
    bytes.addTo(out);
    return out;
}

json ranges(std::initializer_list<std::pair<Position, std::int64_t>> list) {
    json out = json::array();
    for (const auto& [start, length] : list)
        out.push_back({{"start", start}, {"length", length}});
    return out;
}

TEST(OtherBytes, LeavesOutKnownBytesAndCountsCodeBytesApart) {
    const Position codes = sector::kDataFinish; // the first code byte of sector 0
    struct Case {
        const char* what;
        std::vector<Position> known;
        bool raw;
        std::vector<std::pair<Position, std::size_t>> runs;
        json ranges;
        std::int64_t codeBytes;
    };
    const Case cases[] = {
        {"nothing known", {}, false, {{10, 3}, {13, 2}, {20, 1}}, ranges({{10, 5}, {20, 1}}), 0},
        {"known bytes split a run", {11, 12, 30}, false, {{10, 4}, {29, 3}},
         ranges({{10, 1}, {13, 1}, {29, 1}, {31, 1}}), 0},
        {"known bytes before, between and after the runs", {1, 5, 50, 60}, false,
         {{3, 3}, {40, 2}}, ranges({{3, 2}, {40, 2}}), 0},
        {"code bytes of a raw sector", {}, true, {{codes - 2, 4}}, ranges({{codes - 2, 2}}), 2},
        {"a flat image has no code bytes", {}, false, {{codes - 2, 4}}, ranges({{codes - 2, 4}}),
         0},
        {"every byte known", {7, 8, 9}, true, {{7, 3}}, json::array(), 0},
    };
    for (const Case& c : cases) {
        const json out = reportOf(c.known, c.raw, c.runs);
        EXPECT_EQ(out["other_bytes"], c.ranges) << c.what;
        EXPECT_EQ(out["sector_code_bytes"], c.codeBytes) << c.what;
    }
}

} // namespace
} // namespace starfall
