#pragma once

// What changed between two readings of an image's records, and where the
// changed bytes lie that no record holds. `diff` compares two images with
// it; `patch apply` and `undo` report what a patch does with it.

#include "cli/ImageRecords.h"

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

// The keys `get` names a record by (name, index, number), as an object.
[[nodiscard]] nlohmann::json namingOf(const RecordView& record);

// {key: [old, new]} for each field whose value differs.
[[nodiscard]] nlohmann::json fieldChanges(const RecordView& before, const RecordView& after);

// Two readings of an image's records compared a pair at a time (the same
// record of both, section by section), keeping only what changed and where
// the first readings lie.
class RecordChanges {
public:
    void add(std::string_view section, const RecordView& before, const RecordView& after);
    // {"units", "pilots", "skills", "weapons", "upgrade"}, each section that
    // had a record: the records whose fields differ, named as `get` names
    // them (name and index, or number), each with its "changes".
    [[nodiscard]] nlohmann::json json() const;
    // Sorted positions of every byte a first reading reads or writes.
    [[nodiscard]] std::vector<Position> positions() const;

private:
    std::map<std::string, nlohmann::json, std::less<>> m_sections;
    // Runs of consecutive positions [start, end): a record's bytes lie in a
    // few runs, and sorting the millions of positions of long lists one by
    // one cost a tenth of a diff.
    std::vector<std::pair<Position, Position>> m_runs;
};

// Changed positions, given in increasing order, that no record holds: as
// ranges, and, in a raw image, the bytes of sectors' EDC/ECC areas apart.
class OtherBytes {
public:
    OtherBytes(std::vector<Position> known, bool raw) : m_known(std::move(known)), m_raw(raw) {}

    void add(Position position);
    void addRun(Position start, std::size_t length);
    [[nodiscard]] bool empty() const { return m_ranges.empty() && m_sectorCodeBytes == 0; }
    // Adds "other_bytes" ([{"start", "length"}]) and "sector_code_bytes" to `out`.
    void addTo(nlohmann::json& out) const;

private:
    std::vector<Position> m_known;
    std::size_t m_nextKnown = 0; // the first known position not below the last added
    bool m_raw;
    std::vector<std::pair<Position, std::int64_t>> m_ranges;
    std::int64_t m_sectorCodeBytes = 0;
};

// Whether the file starts as a raw 2352-byte-sector image does.
[[nodiscard]] bool looksRaw(std::span<const std::uint8_t> firstBytes);

} // namespace starfall::cli
