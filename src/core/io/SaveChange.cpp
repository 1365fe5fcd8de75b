#include "core/io/SaveChange.h"

#include "core/io/ByteDifferences.h"
#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/sector/CodeRefresh.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace starfall {

namespace {

constexpr Position kSectorBytes = sector::kSectorBytes;

Position endOf(const PlannedRun& run) {
    return run.start + static_cast<Position>(run.values.size());
}

// Adds the bytes at `at` that change from `old` to `fresh`, joining the last
// run when they carry on from it and are of its kind.
void addBytes(SaveChange& change, Position at, std::span<const std::uint8_t> old,
              std::span<const std::uint8_t> fresh, bool code) {
    auto& runs = change.journal.runs;
    if (runs.empty() || runs.back().start + static_cast<Position>(runs.back().old.size()) != at ||
        change.codeRuns.back() != code) {
        runs.push_back({at, {}, {}});
        change.codeRuns.push_back(code);
    }
    runs.back().old.insert(runs.back().old.end(), old.begin(), old.end());
    runs.back().fresh.insert(runs.back().fresh.end(), fresh.begin(), fresh.end());
    change.report.bytesChanged += old.size();
}

// Each stretch of bytes that differ between `old` and `fresh`, the sector at
// `start`, with its code bytes (from `codesFrom` on) apart from its data.
void addDifferences(SaveChange& change, Position start, std::span<const std::uint8_t> old,
                    std::span<const std::uint8_t> fresh, std::size_t codesFrom) {
    const auto add = [&](std::size_t from, std::size_t to) {
        addBytes(change, start + static_cast<Position>(from), old.subspan(from, to - from),
                 fresh.subspan(from, to - from), from >= codesFrom);
    };
    forEachDifferingStretch(old, fresh, [&](std::size_t from, std::size_t to) {
        if (from < codesFrom && codesFrom < to) {
            add(from, codesFrom);
            add(codesFrom, to);
        } else {
            add(from, to);
        }
    });
}

// Lays the bytes of `run` that fall in [start, start + fresh.size()) over `fresh`.
void overlay(const PlannedRun& run, Position start, std::vector<std::uint8_t>& fresh) {
    const Position from = std::max(run.start, start);
    const Position to = std::min(endOf(run), start + static_cast<Position>(fresh.size()));
    for (Position at = from; at < to; ++at) {
        const auto i = static_cast<std::size_t>(at - run.start);
        const std::uint8_t mask = run.masks.empty() ? 0xFF : run.masks[i];
        std::uint8_t& byte = fresh[static_cast<std::size_t>(at - start)];
        byte = static_cast<std::uint8_t>((byte & ~mask) | (run.values[i] & mask));
    }
}

// Only a whole raw sector carries codes; a flat image's or a short last one's
// bytes are written as the plan says.
void refreshSector(SaveChange& change, std::int64_t index, const std::vector<std::uint8_t>& old,
                   std::vector<std::uint8_t>& fresh, CodeRule codes) {
    if (old.size() != sector::kSectorSize)
        return;
    const sector::ConstSector before(old.data(), sector::kSectorSize);
    const sector::Sector after(fresh.data(), sector::kSectorSize);
    const sector::Refresh outcome = sector::refreshCodes(before, after, codes == CodeRule::Refresh);
    if (outcome == sector::Refresh::Stale)
        change.report.staleSectors.push_back(index);
    if (outcome != sector::Refresh::Refreshed)
        return;
    change.report.refreshedSectors.push_back(index);
    const std::size_t from = sector::codesBegin(sector::formOf(after));
    for (std::size_t i = from; i < sector::kSectorSize; ++i)
        change.report.codeBytesWritten += old[i] != fresh[i] ? 1 : 0;
}

// The sectors the runs reach, ascending, each once.
std::vector<std::int64_t> sectorsOf(const std::vector<PlannedRun>& runs) {
    std::vector<std::int64_t> sectors;
    for (const PlannedRun& run : runs) {
        if (run.values.empty())
            continue;
        const std::int64_t first = run.start / kSectorBytes;
        const std::int64_t last = (endOf(run) - 1) / kSectorBytes;
        for (std::int64_t s = sectors.empty() ? first : std::max(first, sectors.back() + 1);
             s <= last; ++s)
            sectors.push_back(s);
    }
    return sectors;
}

} // namespace

SaveChange planChange(int fd, const std::vector<PlannedRun>& runs, Position size, CodeRule codes,
                      const std::string& path) {
    SaveChange change;
    std::vector<std::uint8_t> old;
    std::vector<std::uint8_t> fresh;
    std::size_t next = 0; // the first run that may still reach the sector
    for (const std::int64_t index : sectorsOf(runs)) {
        const Position start = index * kSectorBytes;
        old.resize(static_cast<std::size_t>(std::min(kSectorBytes, size - start)));
        const std::int64_t got = readAt(fd, start, std::span(old));
        if (got != static_cast<std::int64_t>(old.size()))
            throw CoreError(Failure::ImageOpenForSave, path, start,
                            std::strerror(got < 0 ? static_cast<int>(-got) : EIO));
        fresh = old;
        while (next < runs.size() && endOf(runs[next]) <= start)
            ++next;
        for (std::size_t k = next; k < runs.size() && runs[k].start < start + kSectorBytes; ++k)
            overlay(runs[k], start, fresh);
        if (fresh == old)
            continue;
        refreshSector(change, index, old, fresh, codes);
        const std::size_t codesFrom =
            old.size() == sector::kSectorSize
                ? sector::codesBegin(sector::formOf(sector::ConstSector(fresh.data(), fresh.size())))
                : old.size();
        addDifferences(change, start, old, fresh, codesFrom);
    }
    return change;
}

} // namespace starfall
