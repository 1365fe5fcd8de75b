#include "cli/RecordChanges.h"

#include "core/sector/SectorCodes.h"

#include <algorithm>

namespace starfall::cli {

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

void RecordChanges::add(std::string_view section, const RecordView& before,
                        const RecordView& after) {
    auto entries = m_sections.find(section);
    if (entries == m_sections.end())
        entries = m_sections.emplace(std::string(section), nlohmann::json::array()).first;
    nlohmann::json changes = fieldChanges(before, after);
    if (!changes.empty()) {
        nlohmann::json entry = namingOf(before);
        entry["changes"] = std::move(changes);
        entries->second.push_back(std::move(entry));
    }
    for (const Position position : before.positions()) {
        if (!m_runs.empty() && m_runs.back().second == position)
            ++m_runs.back().second;
        else
            m_runs.emplace_back(position, position + 1);
    }
}

nlohmann::json RecordChanges::json() const {
    nlohmann::json out = nlohmann::json::object();
    for (const auto& [name, entries] : m_sections)
        out[name] = entries;
    return out;
}

std::vector<Position> RecordChanges::positions() const {
    std::vector<std::pair<Position, Position>> runs = m_runs;
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
