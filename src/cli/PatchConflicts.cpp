#include "cli/PatchConflicts.h"

#include "cli/ImageRecords.h"
#include "cli/RecordChanges.h"
#include "core/io/CoreError.h"
#include "core/io/ImageAccess.h"
#include "core/sector/SectorCodes.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <optional>
#include <set>

namespace starfall::cli {

namespace {

struct Touched {
    std::set<std::size_t> patches;
    std::int64_t bytes = 0;
    bool sameValues = true;
};

// Which records hold each position of the overlaps (in image order, apart).
// Only records that hold one are named or kept: the records are made one at
// a time, and long lists held every record and position at once.
class RecordFinder {
public:
    RecordFinder(const std::string& image, const ListFolders& directory,
                 const std::vector<patch::Overlap>& overlaps)
        : m_overlaps(overlaps) {
        try {
            visitImageRecords(image, nullptr, directory, {},
                              [this](std::string_view section, const RecordView& record,
                                     const RecordView*) { find(section, record); });
        } catch (const CoreError& error) {
            if (error.failure() != Failure::ListFileMissing)
                throw; // without the lists, conflicts are still found, by bytes
            return;
        }
        std::sort(m_holders.begin(), m_holders.end());
        m_holders.erase(std::unique(m_holders.begin(), m_holders.end()), m_holders.end());
    }

    template <typename Visit> void holdersOf(Position position, Visit visit) const {
        auto at = std::lower_bound(m_holders.begin(), m_holders.end(),
                                   std::pair<Position, std::size_t>{position, 0});
        for (; at != m_holders.end() && at->first == position; ++at)
            visit(at->second);
    }
    [[nodiscard]] const nlohmann::json& named(std::size_t index) const { return m_named[index]; }

private:
    void find(std::string_view section, const RecordView& record) {
        std::optional<std::size_t> index;
        for (const Position position : record.positions()) {
            if (!overlapped(position))
                continue;
            if (!index) {
                index = m_named.size();
                nlohmann::json entry = {{"section", section}};
                entry.update(namingOf(record));
                m_named.push_back(std::move(entry));
            }
            m_holders.emplace_back(position, *index);
        }
    }
    [[nodiscard]] bool overlapped(Position position) const {
        const auto after = std::upper_bound(
            m_overlaps.begin(), m_overlaps.end(), position,
            [](Position at, const patch::Overlap& overlap) { return at < overlap.start; });
        return after != m_overlaps.begin() &&
               position < std::prev(after)->start + std::prev(after)->length;
    }

    const std::vector<patch::Overlap>& m_overlaps;
    std::vector<nlohmann::json> m_named;
    std::vector<std::pair<Position, std::size_t>> m_holders;
};

void note(Touched& touched, const patch::Overlap& overlap, std::int64_t bytes) {
    touched.patches.insert(overlap.patches.begin(), overlap.patches.end());
    touched.bytes += bytes;
    touched.sameValues = touched.sameValues && overlap.sameBytes;
}

nlohmann::json described(nlohmann::json entry, const Touched& touched,
                         const std::vector<std::string>& patches) {
    nlohmann::json names = nlohmann::json::array();
    for (const std::size_t i : touched.patches)
        names.push_back(patches[i]);
    entry["patches"] = std::move(names);
    entry["bytes"] = touched.bytes;
    entry["same_values"] = touched.sameValues;
    return entry;
}

} // namespace

nlohmann::json conflictsJson(const std::string& image, const ListFolders& directory,
                             const std::vector<patch::Overlap>& overlaps,
                             const std::vector<std::string>& patches) {
    // The records are read to name those the patches share: in blocks.
    const ImageReadScope scope(image, ScopeReads::Blocks);
    const RecordFinder finder(image, directory, overlaps);
    std::map<std::size_t, Touched> records;
    std::vector<std::pair<Position, Touched>> others; // by start, joined where they touch
    const bool raw = looksRaw(readRange(image, 0, 16));
    std::int64_t codeBytes = 0;
    for (const patch::Overlap& overlap : overlaps) {
        for (Position p = overlap.start; p < overlap.start + overlap.length; ++p) {
            if (raw && p % sector::kSectorBytes >= sector::kDataFinish) {
                ++codeBytes;
                continue;
            }
            bool held = false;
            finder.holdersOf(p, [&](std::size_t record) {
                note(records[record], overlap, 1);
                held = true;
            });
            if (held)
                continue;
            if (others.empty() || others.back().first + others.back().second.bytes != p)
                others.emplace_back(p, Touched{});
            note(others.back().second, overlap, 1);
        }
    }
    nlohmann::json out = nlohmann::json::array();
    for (const auto& [record, touched] : records)
        out.push_back(described(finder.named(record), touched, patches));
    for (const auto& [start, touched] : others) {
        nlohmann::json entry = {{"section", "other_bytes"}, {"start", start}};
        out.push_back(described(std::move(entry), touched, patches));
    }
    return {{"conflicts", std::move(out)}, {"sector_code_bytes", codeBytes}};
}

} // namespace starfall::cli
