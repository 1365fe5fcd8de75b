#pragma once

// The history of an image's saves, kept beside it as IMAGE.history, so that
// any save can be undone, even after the program ends. Every save appends one
// entry once the image is written and flushed, before its journal goes; the
// journal records the history's length before the save, so a roll-back cuts
// off an entry the image does not hold. The append is not flushed: the next
// save's journal flush, or the system, carries it to disk.
//
// Layout, little-endian: "SFHIST01", then the image's size, device and inode
// when the file was begun (8 bytes each; the size must still match, the others
// are hints), then entries. An entry is "SFHE", the length of its body (4),
// the body, the CRC-32 of the body (4) and the length again (4), so that the
// last entry can be checked from the end. The body: time in seconds since
// 1970 (8), the action (1: save, undo, redo), the entry it reverses (4, from
// 1; 0 for a save), the record's name, the fields (2: count; each key, old and
// new text), then the runs (4: count; each start (8), length (4), whether the
// bytes are sector codes (1), the old bytes and the new bytes). Texts are a
// length (2) and UTF-8 bytes.

#include "core/io/Position.h"
#include "core/io/SaveJournal.h"
#include "core/record/FieldChange.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace starfall {

enum class HistoryAction : std::uint8_t { Save = 0, Undo = 1, Redo = 2 };

struct HistoryRun {
    Position start = 0;
    std::vector<std::uint8_t> old;
    std::vector<std::uint8_t> fresh;
    bool codes = false; // sector EDC/ECC bytes the save brought up to date
    bool operator==(const HistoryRun&) const = default;
};

struct HistoryEntry {
    std::int64_t time = 0;
    HistoryAction action = HistoryAction::Save;
    std::uint32_t reverses = 0; // an undo's or redo's entry number, from 1
    std::string record;
    std::vector<FieldChange> fields;
    std::vector<HistoryRun> runs;
    bool operator==(const HistoryEntry&) const = default;
};

// What a save tells the history beyond its bytes. An undo or a redo names the
// entry it reverses.
struct HistoryNote {
    HistoryAction action = HistoryAction::Save;
    std::uint32_t reverses = 0;
    std::vector<FieldChange> fields;
};

enum class HistoryRule { Record, Skip };
// Whether saves append to the history (the CLI's --no-history, the editor's
// setting). Record by default.
void setHistoryRule(HistoryRule rule);
[[nodiscard]] HistoryRule historyRule();

[[nodiscard]] std::string historyPathFor(const std::string& imagePath);

[[nodiscard]] std::vector<std::uint8_t> encodeHistoryHeader(const ImageIdentity& identity);
[[nodiscard]] std::vector<std::uint8_t> encodeHistoryEntry(const HistoryEntry& entry);

enum class HistoryState {
    Absent,  // no history yet (or an empty file)
    Sound,   // every entry's checksum holds, and it was begun for this image's size
    Damaged, // cut off or a checksum fails
    Foreign  // begun for an image of another size, or not a history at all
};

struct ImageHistory {
    HistoryState state = HistoryState::Absent;
    std::vector<HistoryEntry> entries; // only when Sound
};

[[nodiscard]] ImageHistory decodeHistory(std::span<const std::uint8_t> bytes,
                                         std::uint64_t imageSize);

// Reads the whole history of the image of `imageSize` bytes.
[[nodiscard]] ImageHistory readHistory(const std::string& imagePath, std::uint64_t imageSize);

// The length of the history file `historyPath` (historyPathFor the image)
// for the journal, after checking its head and its last entry:
// kNoHistoryLength when saves skip the history. A damaged or foreign file is
// set aside under another name, and the history starts afresh.
struct HistoryStart {
    std::uint64_t length = kNoHistoryLength;
    std::string setAside; // where a damaged or foreign history was moved
};
[[nodiscard]] HistoryStart prepareHistory(const std::string& historyPath,
                                          const ImageIdentity& image);

// Appends to the history file `historyPath` the entry of a save whose image
// write has been flushed: 0, or the errno of a failure (the save has landed
// either way).
int appendHistory(const std::string& historyPath, const ImageIdentity& image, std::uint64_t length,
                  const HistoryEntry& entry);

// After a roll-back: cuts the history back to `length`, dropping the entry of
// the save that was undone.
void truncateHistory(const std::string& imagePath, std::uint64_t length);

// Deletes the history (`history clear`): false when there was none. Throws
// CoreError(WriteFailed) when it cannot be deleted.
bool clearHistory(const std::string& imagePath);

} // namespace starfall
