#include "cli/RecordChanges.h"

#include "core/sector/SectorCodes.h"

#include <algorithm>
#include <map>

namespace starfall::cli {

namespace {

nlohmann::json sectionChanges(const std::vector<const RecordView*>& before,
                              const std::vector<const RecordView*>& after) {
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
        nlohmann::json changes = fieldChanges(*before[i], *after[i]);
        if (changes.empty())
            continue;
        nlohmann::json entry = namingOf(*before[i]);
        entry["changes"] = std::move(changes);
        out.push_back(std::move(entry));
    }
    return out;
}

std::map<std::string, std::vector<const RecordView*>, std::less<>>
sections(const ImageRecords& records) {
    std::map<std::string, std::vector<const RecordView*>, std::less<>> out;
    records.visit([&out](std::string_view section, const RecordView& record) {
        out[std::string(section)].push_back(&record);
    });
    return out;
}

} // namespace

nlohmann::json namingOf(const RecordView& record) {
    nlohmann::json naming = nlohmann::json::object();
    for (const char* key : {"name", "index", "number"}) {
        if (record.fixed().contains(key))
            naming[key] = record.fixed()[key];
    }
    return naming;
}

nlohmann::json fieldChanges(const RecordView& before, const RecordView& after) {
    nlohmann::json changes = nlohmann::json::object();
    // Most records of a diff or a patch are untouched.
    if (before.readsAlike(after))
        return changes;
    for (const std::string& key : before.keys()) {
        nlohmann::json old = before.value(key);
        nlohmann::json now = after.value(key);
        if (old != now)
            changes[key] = nlohmann::json::array({std::move(old), std::move(now)});
    }
    return changes;
}

nlohmann::json recordChanges(const ImageRecords& before, const ImageRecords& after) {
    const auto old = sections(before);
    const auto now = sections(after);
    nlohmann::json out = nlohmann::json::object();
    for (const auto& [name, records] : old)
        out[name] = sectionChanges(records, now.at(name));
    return out;
}

std::vector<Position> recordPositions(const ImageRecords& records) {
    // Sorted as runs of consecutive positions [start, end): a record's bytes
    // lie in a few runs, and sorting the millions of positions of long lists
    // one by one cost a tenth of a diff.
    std::vector<std::pair<Position, Position>> runs;
    records.visit([&runs](std::string_view, const RecordView& record) {
        for (const Position position : record.positions()) {
            if (!runs.empty() && runs.back().second == position)
                ++runs.back().second;
            else
                runs.emplace_back(position, position + 1);
        }
    });
    std::sort(runs.begin(), runs.end());
    std::vector<Position> positions;
    for (const auto& [start, end] : runs) {
        // Past what the runs before it held: every position once.
        Position from = start;
        if (!positions.empty())
            from = std::max(from, positions.back() + 1);
        for (Position position = from; position < end; ++position)
            positions.push_back(position);
    }
    return positions;
}

void OtherBytes::add(Position position) {
    // Positions come in increasing order, so a known one passed stays passed.
    while (m_nextKnown < m_known.size() && m_known[m_nextKnown] < position)
        ++m_nextKnown;
    if (m_nextKnown < m_known.size() && m_known[m_nextKnown] == position)
        return;
    if (m_raw && position % sector::kSectorBytes >= sector::kDataFinish) {
        ++m_sectorCodeBytes;
        return;
    }
    if (!m_ranges.empty() && m_ranges.back().first + m_ranges.back().second == position)
        ++m_ranges.back().second;
    else
        m_ranges.emplace_back(position, 1);
}

void OtherBytes::addRun(Position start, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        add(start + static_cast<Position>(i));
}

void OtherBytes::addTo(nlohmann::json& out) const {
    nlohmann::json ranges = nlohmann::json::array();
    for (const auto& [start, length] : m_ranges)
        ranges.push_back({{"start", start}, {"length", length}});
    out["other_bytes"] = std::move(ranges);
    out["sector_code_bytes"] = m_sectorCodeBytes;
}

bool looksRaw(std::span<const std::uint8_t> firstBytes) {
    return firstBytes.size() >= sector::kSync.size() &&
           std::equal(sector::kSync.begin(), sector::kSync.end(), firstBytes.begin());
}

} // namespace starfall::cli
