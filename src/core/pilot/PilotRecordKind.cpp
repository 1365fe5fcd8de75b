#include "core/pilot/PilotRecordKind.h"

#include <algorithm>
#include <array>

namespace starfall {

namespace {

// Records that carry no spirit block. Most are single addresses; the ranges
// hold runs of stat-only entries (both ends included).
constexpr std::array<std::int32_t, 23> kStatsOnlyAddresses = {
    2786,  3699,  7554,  10396, 12651, 12680, 12711, 12738, 12816, 12845, 12876, 14067,
    14347, 14772, 14882, 15089, 15116, 15143, 15170, 17246, 18278, 18468, 18495};

struct AddressRange {
    std::int32_t first;
    std::int32_t last;
};

constexpr std::array<AddressRange, 5> kStatsOnlyRanges = {
    {{14457, 14577}, {15373, 16439}, {16898, 17166}, {17445, 17499}, {17758, 17947}}};

constexpr std::array<std::int32_t, 4> kSpiritsOnlyAddresses = {15188, 15240, 15276, 15328};

bool isListed(std::int32_t address, const auto& addresses) {
    return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
}

bool inStatsOnlyRange(std::int32_t address) {
    return std::any_of(kStatsOnlyRanges.begin(), kStatsOnlyRanges.end(), [address](AddressRange r) {
        return address >= r.first && address <= r.last;
    });
}

} // namespace

PilotRecordKind classifyPilotRecord(std::int32_t address) {
    if (isListed(address, kSpiritsOnlyAddresses))
        return PilotRecordKind::SpiritsOnly;
    if (isListed(address, kStatsOnlyAddresses) || inStatsOnlyRange(address))
        return PilotRecordKind::StatsOnly;
    return PilotRecordKind::Full;
}

std::string_view kindName(PilotRecordKind kind) {
    switch (kind) {
    case PilotRecordKind::Full:
        return "Full";
    case PilotRecordKind::StatsOnly:
        return "StatsOnly";
    case PilotRecordKind::SpiritsOnly:
        return "SpiritsOnly";
    }
    return "Full";
}

} // namespace starfall
