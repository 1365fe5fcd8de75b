#include "core/history/HistoryUndo.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/text/Messages.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

namespace starfall {

namespace {

[[noreturn]] void refuse(const std::string& imagePath, std::string why) {
    throw CoreError(Failure::HistoryRefused, imagePath, -1, std::move(why));
}

bool overlaps(const HistoryRun& a, const HistoryRun& b) {
    return a.start < b.start + static_cast<Position>(b.old.size()) &&
           b.start < a.start + static_cast<Position>(a.old.size());
}

// Whether two entries wrote to a common data byte.
bool shareData(const HistoryEntry& a, const HistoryEntry& b) {
    for (const HistoryRun& x : a.runs) {
        for (const HistoryRun& y : b.runs) {
            if (!x.codes && !y.codes && overlaps(x, y))
                return true;
        }
    }
    return false;
}

// Later entries that still stand and wrote where entry `index` did. An undo
// stands for a change only against entries older than the one it reverses.
std::vector<std::uint32_t> laterWriters(const std::vector<HistoryEntry>& entries,
                                        std::size_t index) {
    const std::vector<bool> standing = standingEntries(entries);
    std::vector<std::uint32_t> later;
    for (std::size_t j = entries.size(); j-- > index + 1;) {
        const HistoryEntry& entry = entries[j];
        const bool cancelsLater =
            entry.action == HistoryAction::Undo && entry.reverses > index + 1;
        if (standing[j] && !cancelsLater && shareData(entry, entries[index]))
            later.push_back(static_cast<std::uint32_t>(j + 1));
    }
    return later;
}

// The image's bytes where the entry wrote; the entry's new data bytes must
// all be there. Code bytes go back only where the entry's own still stand.
std::vector<PlannedRun> runsBack(const std::string& imagePath, const HistoryEntry& entry,
                                 std::uint32_t number) {
    const FileHandle image(imagePath, O_RDONLY);
    if (!image.isOpen())
        throw CoreError(Failure::ImageOpenForLoad, imagePath);
    std::vector<PlannedRun> runs;
    std::vector<Position> changed;
    std::vector<std::uint8_t> held;
    for (const HistoryRun& run : entry.runs) {
        held.assign(run.fresh.size(), 0);
        const bool whole =
            readAt(image.fd(), run.start, std::span(held)) == static_cast<std::int64_t>(held.size());
        PlannedRun back{run.start, run.old, std::vector<std::uint8_t>(run.old.size(), 0xFF)};
        for (std::size_t i = 0; i < held.size(); ++i) {
            if (whole && held[i] == run.fresh[i])
                continue;
            if (!run.codes)
                changed.push_back(run.start + static_cast<Position>(i));
            back.masks[i] = 0; // a code byte someone else rewrote stays theirs
        }
        runs.push_back(std::move(back));
    }
    if (!changed.empty())
        refuse(imagePath, messages::historyImageChanged(number, changed));
    return runs;
}

Reversal reversalOf(const std::string& imagePath, const std::vector<HistoryEntry>& entries,
                    std::size_t index, HistoryAction action) {
    const auto number = static_cast<std::uint32_t>(index + 1);
    const std::vector<std::uint32_t> later = laterWriters(entries, index);
    if (!later.empty())
        refuse(imagePath, messages::historyLaterFirst(number, later));
    const HistoryEntry& entry = entries[index];
    Reversal reversal{number, action, entry.record, {}, runsBack(imagePath, entry, number)};
    for (const FieldChange& field : entry.fields)
        reversal.fields.push_back({field.key, field.after, field.before});
    return reversal;
}

} // namespace

std::vector<bool> standingEntries(const std::vector<HistoryEntry>& entries) {
    std::vector<bool> standing(entries.size(), true);
    for (const HistoryEntry& entry : entries) {
        if (entry.action != HistoryAction::Save && entry.reverses >= 1 &&
            entry.reverses <= entries.size())
            standing[entry.reverses - 1] = false;
    }
    return standing;
}

std::vector<HistoryEntry> soundHistoryOf(const std::string& imagePath) {
    struct stat info {};
    if (::stat(imagePath.c_str(), &info) != 0)
        throw CoreError(Failure::ImageOpenForLoad, imagePath);
    ImageHistory history = readHistory(imagePath, static_cast<std::uint64_t>(info.st_size));
    if (history.state == HistoryState::Damaged || history.state == HistoryState::Foreign)
        refuse(imagePath, messages::historyUntrusted(historyPathFor(imagePath)));
    return std::move(history.entries);
}

Reversal planUndo(const std::string& imagePath, const std::vector<HistoryEntry>& entries,
                  std::optional<std::uint32_t> number) {
    const std::vector<bool> standing = standingEntries(entries);
    const auto undoable = [&](std::size_t i) {
        return standing[i] && entries[i].action != HistoryAction::Undo;
    };
    if (!number) {
        for (std::size_t i = entries.size(); i-- > 0;) {
            if (undoable(i))
                return reversalOf(imagePath, entries, i, HistoryAction::Undo);
        }
        refuse(imagePath, messages::historyNothingToUndo());
    }
    if (*number < 1 || *number > entries.size())
        refuse(imagePath, messages::historyNoEntry(*number));
    const std::size_t index = *number - 1;
    if (entries[index].action == HistoryAction::Undo)
        refuse(imagePath, messages::historyEntryIsAnUndo(*number));
    if (!standing[index])
        refuse(imagePath, messages::historyAlreadyUndone(*number));
    return reversalOf(imagePath, entries, index, HistoryAction::Undo);
}

Reversal planRedo(const std::string& imagePath, const std::vector<HistoryEntry>& entries) {
    const std::vector<bool> standing = standingEntries(entries);
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].action == HistoryAction::Undo && standing[i])
            return reversalOf(imagePath, entries, i, HistoryAction::Redo);
    }
    refuse(imagePath, messages::historyNothingToRedo());
}

SaveReport applyReversal(const std::string& imagePath, const Reversal& reversal, CodeRule codes) {
    return saveRuns(imagePath, reversal.runs, reversal.record, FramingRule::Allow, codes,
                    {reversal.action, reversal.entry, reversal.fields});
}

} // namespace starfall
