#pragma once

// How every write into an image lands whole or not at all. A save locks the
// image (flock, so a second save waits), rolls back any journal a dead save
// left, refuses a plan that reaches past the image's end, reads each sector it
// touches whole to bring its EDC/ECC up to date (CodeRefresh.h), then writes and
// flushes a journal of the bytes it will overwrite, writes and flushes the
// image, appends its entry to the image's history, and deletes the journal:
// the deletion is the commit. A save whose
// write or flush fails puts the old bytes back before it reports the failure.
// Every action that opens an image first recovers a journal left beside it.

#include "core/io/Position.h"
#include "core/io/SaveHistory.h"
#include "core/text/Messages.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

// Record saves keep out of sector heads and tails; a sector repair or a
// patch may write there.
enum class FramingRule { Refuse, Allow };

// Whether a save rewrites the EDC/ECC of the raw sectors it writes whose codes
// matched before it, so that they match again; Keep writes the plan's bytes
// only. Either way the codes' bytes go into the same journal and write.
enum class CodeRule { Refresh, Keep };

// Sectors are counted from the image's start, ascending.
struct SaveReport {
    std::vector<std::int64_t> refreshedSectors;
    std::size_t codeBytesWritten = 0; // code bytes the refresh changed
    // Raw sectors the save wrote whose codes do not match afterwards: wrong
    // before the save, written by the plan itself, or left by CodeRule::Keep.
    std::vector<std::int64_t> staleSectors;
    std::size_t bytesChanged = 0; // every byte the save changed, code bytes included
    bool operator==(const SaveReport&) const = default;
};

// Values for consecutive positions from `start`. Where `masks` is not empty
// (one per value), only the mask's bits are written and the others keep what
// the image holds.
struct PlannedRun {
    Position start = 0;
    std::vector<std::uint8_t> values;
    std::vector<std::uint8_t> masks;
};

// Runs that overlap are applied in order, a later one winning. Bytes that
// would not change are not written; a plan with nothing to change still
// opens the image for update, so a read-only image is refused. Throws
// CoreError: ImageOpenForSave, PositionOutOfRange, PastImageEnd (naming
// `record`), SectorFraming, JournalUnavailable, JournalInTheWay, WriteFailed.
// FramingRule::Refuse applies to the plan's bytes, never to refreshed codes.
// Each save that changes bytes appends an entry to the image's history (see
// SaveHistory.h), named by `record` and `note`.
SaveReport saveRuns(const std::string& path, std::vector<PlannedRun> runs, std::string_view record,
                    FramingRule framing, CodeRule codes = CodeRule::Refresh,
                    const HistoryNote& note = {});

// Rolls back a journal left beside the image by a save that did not finish,
// unless a live save holds it. Tells the notice sink what it did or why it
// left the journal alone (each journal once a process).
void recoverInterruptedSave(const std::string& imagePath);

// How many saves have landed in this process, and the image of the last: a
// command that fails after its save landed says so.
[[nodiscard]] std::uint64_t landedSaveCount();
[[nodiscard]] std::string lastLandedImage();

using RecoveryNoticeSink = std::function<void(const Message&)>;
// Where recovery notices go; the editor shows them, the CLI prints them.
void setRecoveryNoticeSink(RecoveryNoticeSink sink);

// The steps of a save at which a test can make the system call fail (the hook
// returns an errno) or stop the process (the hook never returns).
enum class SaveStep {
    JournalCreate,
    JournalWrite,
    JournalFlush,
    FolderFlush,
    ImageWrite,
    ImageFlush,
    HistoryAppend,
    JournalDelete,
    CommitFlush
};
using SaveFaultHook = std::function<int(SaveStep)>;
void setSaveFaultHook(SaveFaultHook hook);

} // namespace starfall
