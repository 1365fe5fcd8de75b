#include "core/io/SaveGuard.h"

#include "core/io/CoreError.h"
#include "core/sector/SectorCodes.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

namespace starfall {

namespace {

constexpr Position kSectorSize = sector::kSectorBytes;
constexpr Position kDataStart = sector::kDataBegin;
constexpr Position kDataEnd = sector::kDataFinish;
using sector::kSync;

bool startsWithSync(int fd, Position sectorStart) {
    std::array<std::uint8_t, kSync.size()> head{};
    const ssize_t got = pread(fd, head.data(), head.size(), static_cast<off_t>(sectorStart));
    return got == static_cast<ssize_t>(head.size()) && head == kSync;
}

bool inFraming(Position position) {
    const Position offset = position % kSectorSize;
    return offset < kDataStart || offset >= kDataEnd;
}

// Raw when sector 0 or any sector the save touches starts with the sync
// pattern: one sector that looks raw is reason enough to refuse writing into
// framing, even where another sector's head has been damaged.
bool looksRaw(int fd, std::span<const Position> positions) {
    if (startsWithSync(fd, 0))
        return true;
    std::set<Position> sectorStarts;
    for (const Position p : positions)
        sectorStarts.insert(p - p % kSectorSize);
    return std::any_of(sectorStarts.begin(), sectorStarts.end(),
                       [fd](Position start) { return startsWithSync(fd, start); });
}

} // namespace

void checkSaveAgainstFraming(int fd, const std::string& path, std::span<const Position> positions,
                             std::string_view record) {
    const auto bad = std::find_if(positions.begin(), positions.end(), inFraming);
    if (bad == positions.end() || !looksRaw(fd, positions))
        return;
    throw CoreError(Failure::SectorFraming, path, *bad, std::string(record));
}

} // namespace starfall
