#pragma once

#include "core/record/FieldChange.h"

// An image set against its untouched original: the runs of bytes that differ
// (one streamed pass over both), which list entries they fall in, and each
// changed record's fields, old -> new, as `diff --text` prints them.

#include "core/io/ImageComparison.h"
#include "core/lists/NameList.h"

#include <string>
#include <vector>

namespace starfall {

// Runs of differing bytes, in increasing order.
class ChangedBytes {
public:
    void add(Position start, std::size_t length);
    [[nodiscard]] bool empty() const { return m_runs.empty(); }
    // Whether any of `positions` (in any order) lies in a run.
    [[nodiscard]] bool touchesAny(const std::vector<Position>& positions) const;
    [[nodiscard]] bool touches(Position position) const;
    [[nodiscard]] const std::vector<std::pair<Position, Position>>& runs() const { return m_runs; }

private:
    std::vector<std::pair<Position, Position>> m_runs; // [start, end)
};

// One changed record: its section, how it is named, and its changed fields
// (UTF-8).
struct RecordChange {
    std::string section;   // "units", "pilots", "skills", "weapons", "upgrade"
    std::size_t index = 0; // in its list (a weapon: its number)
    std::string name;
    std::vector<FieldChange> fields;
    // As `diff --text` prints it: "units #1 NAME: hp 3800 -> 4321, ...".
    [[nodiscard]] std::string line() const;
};

struct OriginalComparison {
    ChangedBytes bytes;
    std::vector<RecordChange> records;
    std::vector<bool> unitChanged;  // by unitlist.ini index: the record or a weapon it lists
    std::vector<bool> pilotChanged; // by charlist.ini index: the record or its skill table
    bool upgradeChanged = false;
    std::int64_t otherBytes = 0; // in no record, sector codes apart
    std::size_t otherRanges = 0;
    std::int64_t sectorCodeBytes = 0;

    // Every record line, then the line of the bytes no record holds.
    [[nodiscard]] std::vector<std::string> textLines() const;
    // The change of the record `index` of `section`, or null.
    [[nodiscard]] const RecordChange* find(std::string_view section, std::size_t index) const;
};

// Throws CoreError(ImageSizesDiffer) for images of different sizes, what
// compareImages and the record loads throw, and WorkCancelled.
[[nodiscard]] OriginalComparison compareWithOriginal(const std::string& original,
                                                     const std::string& image,
                                                     const NameList& units,
                                                     const NameList& pilots,
                                                     const WorkProgress& progress = {});

// The records of `image` that `bytes` fall in, named without their fields (a
// patch's changes before it is applied).
[[nodiscard]] OriginalComparison touchedRecords(ChangedBytes bytes, const std::string& image,
                                                const NameList& units, const NameList& pilots);

} // namespace starfall
