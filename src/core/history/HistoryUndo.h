#pragma once

// Undo and redo of saves recorded in an image's history. Undoing an entry
// writes its old bytes back through an ordinary save, recorded as an entry of
// its own, so that it can be redone. A save or a redo stands until an undo
// reverses it; an undo stands until a redo reverses it.
//
// An undo is refused, with nothing written, when the image no longer holds
// the entry's new bytes (something else changed them since), or when a later
// entry that still stands wrote to the same places: those must be undone
// first. Sector code bytes never block: they follow the data they cover.

#include "core/io/ImageSave.h"
#include "core/io/SaveHistory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace starfall {

// What an undo or redo will write.
struct Reversal {
    std::uint32_t entry = 0; // the entry it reverses, from 1
    HistoryAction action = HistoryAction::Undo;
    std::string record;
    std::vector<FieldChange> fields; // old and new as the reversal changes them
    std::vector<PlannedRun> runs;
};

// The entries that still stand (by index), for reports and menus.
[[nodiscard]] std::vector<bool> standingEntries(const std::vector<HistoryEntry>& entries);

// The history of the image, which must be sound; throws
// CoreError(HistoryRefused) for a damaged or foreign one, and
// CoreError(ImageOpenForLoad) when the image cannot be read.
[[nodiscard]] std::vector<HistoryEntry> soundHistoryOf(const std::string& imagePath);

// Plans the undo of entry `number` (from 1; the last standing save when
// absent), or the redo of the last standing undo. Throws
// CoreError(HistoryRefused) naming why.
[[nodiscard]] Reversal planUndo(const std::string& imagePath,
                                const std::vector<HistoryEntry>& entries,
                                std::optional<std::uint32_t> number);
[[nodiscard]] Reversal planRedo(const std::string& imagePath,
                                const std::vector<HistoryEntry>& entries);

// Writes the reversal as one save, recorded in the history.
SaveReport applyReversal(const std::string& imagePath, const Reversal& reversal, CodeRule codes);

} // namespace starfall
