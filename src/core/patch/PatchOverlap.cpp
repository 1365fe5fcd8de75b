#include "core/patch/PatchOverlap.h"

#include <algorithm>
#include <map>
#include <set>

namespace starfall::patch {

namespace {

// The bytes `changes` writes at [start, start + length), which one run holds:
// the runs of one plan never touch, so an overlap found by the sweep below
// never spans two of them.
std::span<const std::uint8_t> written(const ByteChanges& changes, Position start,
                                      Position length) {
    const auto after = std::upper_bound(
        changes.next.begin(), changes.next.end(), start,
        [](Position position, const ByteRun& run) { return position < run.start; });
    const ByteRun& run = *std::prev(after);
    return std::span(run.bytes).subspan(static_cast<std::size_t>(start - run.start),
                                        static_cast<std::size_t>(length));
}

bool sameBytes(std::span<const ByteChanges> changes, const Overlap& overlap) {
    const auto first = written(changes[overlap.patches.front()], overlap.start, overlap.length);
    return std::all_of(overlap.patches.begin() + 1, overlap.patches.end(), [&](std::size_t i) {
        const auto other = written(changes[i], overlap.start, overlap.length);
        return std::equal(first.begin(), first.end(), other.begin());
    });
}

} // namespace

std::vector<Overlap> findOverlaps(std::span<const ByteChanges> changes) {
    // Each run opens at its start and closes at its end; between two such
    // edges the same patches change every byte.
    std::map<Position, std::vector<std::pair<std::size_t, bool>>> edges;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        for (const ByteRun& run : changes[i].next) {
            edges[run.start].emplace_back(i, true);
            edges[run.start + static_cast<Position>(run.bytes.size())].emplace_back(i, false);
        }
    }
    std::vector<Overlap> out;
    std::set<std::size_t> open;
    for (auto edge = edges.begin(); edge != edges.end(); ++edge) {
        for (const auto& [patch, opens] : edge->second) {
            if (opens)
                open.insert(patch);
            else
                open.erase(patch);
        }
        const auto next = std::next(edge);
        if (open.size() < 2 || next == edges.end())
            continue;
        Overlap overlap{edge->first, next->first - edge->first, {open.begin(), open.end()}, false};
        overlap.sameBytes = sameBytes(changes, overlap);
        out.push_back(std::move(overlap));
    }
    return out;
}

} // namespace starfall::patch
