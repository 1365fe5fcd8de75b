#include "core/io/ImageSave.h"

#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/io/ProgramDirectory.h"
#include "core/io/SaveChange.h"
#include "core/io/SaveGuard.h"
#include "core/io/SaveJournal.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace starfall {

namespace {

SaveFaultHook& faultHook() {
    static SaveFaultHook hook;
    return hook;
}

RecoveryNoticeSink& noticeSink() {
    static RecoveryNoticeSink sink;
    return sink;
}

struct Landed {
    std::mutex guard;
    std::uint64_t count = 0;
    std::string image;
};

Landed& landed() {
    static Landed record;
    return record;
}

void noteLanded(const std::string& path) {
    Landed& record = landed();
    const std::lock_guard lock(record.guard);
    ++record.count;
    record.image = path;
}

// 0, or the errno a test asks this step to fail with.
int fault(SaveStep step) {
    return faultHook() ? faultHook()(step) : 0;
}

// Each journal that is left alone is reported once a process.
void notifyOnce(const std::string& journalPath, const Message& message) {
    static std::mutex guard;
    static std::set<std::string> told;
    const std::lock_guard lock(guard);
    if (told.insert(journalPath).second && noticeSink())
        noticeSink()(message);
}

std::string describe(int error) {
    return std::strerror(error);
}

// Whole-buffer pwrite: 0 or the errno of the failure.
int writeAll(int fd, Position at, const std::uint8_t* data, std::size_t size) {
    return writeAt(fd, at, std::span(data, size));
}

int flushData(int fd) {
    return ::fdatasync(fd) == 0 ? 0 : errno;
}

int flushFolderOf(const std::string& path) {
    const std::string folder = directoryOf(path);
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

void lockImage(int fd, int operation) {
    while (::flock(fd, operation) != 0 && errno == EINTR) {
    }
}

ImageIdentity identityOf(int fd) {
    struct stat info {};
    ::fstat(fd, &info);
    return {static_cast<std::uint64_t>(info.st_size), static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino)};
}

// Writes the journal's old bytes back: 0 or the errno of the failure.
int applyJournal(int fd, const SaveJournal& journal) {
    for (const JournalRun& run : journal.runs) {
        if (const int error = writeAll(fd, run.start, run.old.data(), run.old.size()))
            return error;
    }
    return flushData(fd);
}

std::size_t byteCount(const SaveJournal& journal) {
    std::size_t count = 0;
    for (const JournalRun& run : journal.runs)
        count += run.old.size();
    return count;
}

// A journal whose runs reach past the image's end was not written by a save,
// none of which grows the image: applying it would.
bool runsInside(const SaveJournal& journal, std::uint64_t size) {
    return std::all_of(journal.runs.begin(), journal.runs.end(), [size](const JournalRun& run) {
        return run.start >= 0 && static_cast<std::uint64_t>(run.start) + run.old.size() <= size;
    });
}

enum class Fit {
    Applies,    // some positions hold the save's new bytes, the rest their old ones
    AlreadyOld, // every position holds its old byte: the save never reached the image
    Foreign     // a position holds neither: the image changed since, or it is another's
};

struct JournalFit {
    Fit fit = Fit::Foreign;
    Position at = -1; // the first position that holds neither
};

// Whether the image still holds what the journal's save left behind. A journal
// of the first layout has no new bytes, so only the image's identity can say.
JournalFit fitOf(int fd, const SaveJournal& journal, const ImageIdentity& identity) {
    if (journal.firstLayout)
        return {journal.identity == identity ? Fit::Applies : Fit::Foreign};
    bool anyNew = false;
    std::vector<std::uint8_t> held;
    for (const JournalRun& run : journal.runs) {
        held.resize(run.old.size());
        if (readAt(fd, run.start, std::span(held)) != static_cast<std::int64_t>(held.size()))
            return {Fit::Foreign, run.start};
        for (std::size_t i = 0; i < held.size(); ++i) {
            if (held[i] == run.fresh[i])
                anyNew = true;
            else if (held[i] != run.old[i])
                return {Fit::Foreign, run.start + static_cast<Position>(i)};
        }
    }
    return {anyNew ? Fit::Applies : Fit::AlreadyOld};
}

// The journal's bytes, read without following a symlink; nothing for anything
// that is not a regular file.
std::optional<std::vector<std::uint8_t>> readJournalFile(const std::string& journalPath) {
    const FileHandle file(journalPath, O_RDONLY | O_NOFOLLOW);
    struct stat info {};
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    const std::int64_t got = readAt(file.fd(), 0, std::span(bytes));
    if (got < 0)
        return std::nullopt;
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

// Journals this process rolled back but could not delete (a folder it cannot
// write): the image already holds the old bytes, so they are not applied or
// announced again.
bool settledBefore(const std::string& journalPath, bool settle = false) {
    static std::mutex guard;
    static std::set<std::string> settled;
    const std::lock_guard lock(guard);
    return settle ? !settled.insert(journalPath).second : settled.count(journalPath) != 0;
}

// A rolled-back save's history entry goes with it.
void afterRollBack(const std::string& path, const SaveJournal& journal) {
    truncateHistory(path, journal.historyLength);
}

// The save is undone in the image; the journal goes, or stays where the
// folder cannot be written.
void finishRollBack(const std::string& path, const std::string& journalPath,
                    const SaveJournal& journal) {
    afterRollBack(path, journal);
    int error = fault(SaveStep::JournalDelete);
    if (!error && ::unlink(journalPath.c_str()) != 0)
        error = errno;
    if (error) {
        settledBefore(journalPath, true);
        notifyOnce(journalPath, messages::journalStuck(path, journalPath, describe(error)));
        return;
    }
    flushFolderOf(journalPath);
    if (noticeSink())
        noticeSink()(messages::saveRolledBack(path, byteCount(journal)));
}

// With the image locked, so that no live save owns the journal.
void recoverLocked(int fd, const std::string& path, const std::string& journalPath) {
    struct stat info {};
    if (::lstat(journalPath.c_str(), &info) != 0 || settledBefore(journalPath))
        return;
    const auto bytes = readJournalFile(journalPath);
    const DecodedJournal decoded =
        bytes ? decodeJournal(*bytes) : DecodedJournal{JournalState::Foreign, {}};
    if (decoded.state == JournalState::Torn) {
        ::unlink(journalPath.c_str()); // cut off before the image was touched
        return;
    }
    const ImageIdentity identity = identityOf(fd);
    if (decoded.state != JournalState::Complete || !runsInside(decoded.journal, identity.size)) {
        notifyOnce(journalPath, messages::journalLeftAlone(journalPath));
        return;
    }
    const JournalFit fit = fitOf(fd, decoded.journal, identity);
    if (fit.fit == Fit::Foreign) {
        notifyOnce(journalPath,
                   fit.at < 0 ? messages::journalLeftAlone(journalPath)
                              : messages::journalNotTheImages(journalPath, fit.at,
                                                              decoded.journal.identity != identity));
        return;
    }
    if (fit.fit == Fit::Applies && applyJournal(fd, decoded.journal) != 0) {
        notifyOnce(journalPath, messages::journalNotApplied(path, journalPath));
        return;
    }
    finishRollBack(path, journalPath, decoded.journal);
}

// Sorted, disjoint runs; where runs overlap, later ones win.
std::vector<PlannedRun> normalise(std::vector<PlannedRun> runs) {
    const auto byStart = [](const PlannedRun& a, const PlannedRun& b) { return a.start < b.start; };
    // Most plans come in order; a sort would still move every run.
    if (!std::is_sorted(runs.begin(), runs.end(), byStart))
        std::stable_sort(runs.begin(), runs.end(), byStart);
    bool overlap = false;
    for (std::size_t i = 1; i < runs.size(); ++i)
        overlap |=
            runs[i].start < runs[i - 1].start + static_cast<Position>(runs[i - 1].values.size());
    if (!overlap)
        return runs;
    // Rare (records that share bytes): fold byte by byte in plan order.
    std::map<Position, std::pair<std::uint8_t, std::uint8_t>> bytes;
    for (const PlannedRun& run : runs) {
        for (std::size_t i = 0; i < run.values.size(); ++i) {
            const std::uint8_t mask = run.masks.empty() ? 0xFF : run.masks[i];
            auto& [value, held] = bytes[run.start + static_cast<Position>(i)];
            value = static_cast<std::uint8_t>((value & ~mask) | (run.values[i] & mask));
            held |= mask;
        }
    }
    std::vector<PlannedRun> folded;
    for (const auto& [position, byte] : bytes) {
        if (folded.empty() ||
            folded.back().start + static_cast<Position>(folded.back().values.size()) != position)
            folded.push_back({position, {}, {}});
        folded.back().values.push_back(byte.first);
        folded.back().masks.push_back(byte.second);
    }
    return folded;
}

Position endOf(const PlannedRun& run) {
    return run.start + static_cast<Position>(run.values.size());
}

void checkRange(const std::vector<PlannedRun>& runs, const std::string& path) {
    for (const PlannedRun& run : runs) {
        if (run.values.empty())
            continue;
        if (!isAddressable(run.start))
            throw CoreError(Failure::PositionOutOfRange, path, run.start);
        if (endOf(run) > kPositionLimit)
            throw CoreError(Failure::PositionOutOfRange, path, kPositionLimit);
    }
}

void checkInsideImage(const std::vector<PlannedRun>& runs, Position size, const std::string& path,
                      std::string_view record) {
    for (const PlannedRun& run : runs) {
        if (!run.values.empty() && endOf(run) > size)
            throw CoreError(Failure::PastImageEnd, path, std::max(run.start, size),
                            std::string(record));
    }
}

void checkFraming(int fd, const std::vector<PlannedRun>& runs, const std::string& path,
                  std::string_view record) {
    std::vector<Position> positions;
    for (const PlannedRun& run : runs) {
        for (std::size_t i = 0; i < run.values.size(); ++i)
            positions.push_back(run.start + static_cast<Position>(i));
    }
    checkSaveAgainstFraming(fd, path, positions, record);
}

// Creates and flushes the journal; throws with nothing written to the image.
void writeJournal(const std::string& journalPath, const SaveJournal& journal) {
    int error = fault(SaveStep::JournalCreate);
    const int fd = error ? -1
                         : ::open(journalPath.c_str(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = error ? error : errno;
        throw CoreError(error == EEXIST ? Failure::JournalInTheWay : Failure::JournalUnavailable,
                        journalPath, -1, describe(error));
    }
    const std::vector<std::uint8_t> bytes = encodeJournal(journal);
    error = fault(SaveStep::JournalWrite);
    if (!error)
        error = writeAll(fd, 0, bytes.data(), bytes.size());
    if (!error)
        error = fault(SaveStep::JournalFlush);
    if (!error)
        error = flushData(fd);
    ::close(fd);
    if (!error)
        error = fault(SaveStep::FolderFlush);
    if (!error)
        error = flushFolderOf(journalPath);
    if (error) {
        ::unlink(journalPath.c_str());
        throw CoreError(Failure::JournalUnavailable, journalPath, -1, describe(error));
    }
}

int writeImage(int fd, const SaveChange& change) {
    for (std::size_t i = 0; i < change.journal.runs.size(); ++i) {
        int error = fault(SaveStep::ImageWrite);
        if (!error)
            error = writeAll(fd, change.journal.runs[i].start,
                             change.journal.runs[i].fresh.data(),
                             change.journal.runs[i].fresh.size());
        if (error)
            return error;
    }
    const int error = fault(SaveStep::ImageFlush);
    return error ? error : flushData(fd);
}

// The history's length for the journal; a history that cannot be trusted is
// set aside first, and the user told once.
std::uint64_t startHistory(const std::string& historyPath, const ImageIdentity& identity) {
    const HistoryStart start = prepareHistory(historyPath, identity);
    if (!start.setAside.empty())
        notifyOnce(start.setAside, messages::historySetAside(historyPath, start.setAside));
    return start.length;
}

// The entry takes the journal's runs; giveBack returns them, as the journal
// must stay whole until the save is committed. A patch's save has thousands of
// runs, and copying each cost more than encoding it.
HistoryEntry entryOf(SaveChange& change, std::string_view record, const HistoryNote& note) {
    HistoryEntry entry{static_cast<std::int64_t>(::time(nullptr)), note.action, note.reverses,
                       std::string(record), note.fields, {}};
    entry.runs.reserve(change.journal.runs.size());
    for (std::size_t i = 0; i < change.journal.runs.size(); ++i) {
        JournalRun& run = change.journal.runs[i];
        entry.runs.push_back(
            {run.start, std::move(run.old), std::move(run.fresh), change.codeRuns[i]});
    }
    return entry;
}

void giveBack(HistoryEntry& entry, SaveChange& change) {
    for (std::size_t i = 0; i < change.journal.runs.size(); ++i) {
        change.journal.runs[i].old = std::move(entry.runs[i].old);
        change.journal.runs[i].fresh = std::move(entry.runs[i].fresh);
    }
}

// The image is written and flushed: the save's entry goes to the history.
// A history that cannot take it costs the save nothing; the user is told.
void recordInHistory(const std::string& historyPath, SaveChange& change, std::string_view record,
                     const HistoryNote& note) {
    const std::uint64_t length = change.journal.historyLength;
    if (length == kNoHistoryLength)
        return;
    int error = fault(SaveStep::HistoryAppend);
    if (!error) {
        HistoryEntry entry = entryOf(change, record, note);
        error = appendHistory(historyPath, change.journal.identity, length, entry);
        giveBack(entry, change);
    }
    if (error)
        notifyOnce(historyPath, messages::historyNotWritten(historyPath, describe(error)));
}

int deleteJournal(const std::string& journalPath) {
    const int error = fault(SaveStep::JournalDelete);
    if (error)
        return error;
    return ::unlink(journalPath.c_str()) == 0 ? 0 : errno;
}

// The system's reason when an image that exists cannot be opened for update
// (a read-only file or file system); none when it cannot be opened at all.
std::string unwritableReason(int error) {
    const bool exists = error == EACCES || error == EROFS || error == EPERM || error == ETXTBSY;
    return exists ? std::strerror(error) : std::string();
}

// The image is as it was again, or the journal stays for the next action.
[[noreturn]] void rollBack(int fd, const std::string& path, const std::string& journalPath,
                           const SaveChange& change, int error) {
    if (applyJournal(fd, change.journal) == 0) {
        afterRollBack(path, change.journal);
        ::unlink(journalPath.c_str());
    }
    throw CoreError(Failure::WriteFailed, path, -1, describe(error));
}

} // namespace

SaveReport saveRuns(const std::string& path, std::vector<PlannedRun> runs, std::string_view record,
                    FramingRule framing, CodeRule codes, const HistoryNote& note) {
    runs = normalise(std::move(runs));
    checkRange(runs, path);
    FileHandle image(path, O_RDWR);
    if (!image.isOpen())
        throw CoreError(Failure::ImageOpenForSave, path, -1, unwritableReason(image.error()));
    lockImage(image.fd(), LOCK_EX); // held until the handle closes
    // Named once: each name resolves the image's path, folder by folder.
    const std::string journalPath = journalPathFor(path);
    const std::string historyPath = historyPathFor(path);
    recoverLocked(image.fd(), path, journalPath);
    const auto size = static_cast<Position>(identityOf(image.fd()).size);
    checkInsideImage(runs, size, path, record);
    if (framing == FramingRule::Refuse)
        checkFraming(image.fd(), runs, path, record);

    SaveChange change = planChange(image.fd(), runs, size, codes, path);
    if (change.journal.runs.empty())
        return change.report;
    change.journal.identity = identityOf(image.fd());
    change.journal.historyLength = startHistory(historyPath, change.journal.identity);
    writeJournal(journalPath, change.journal);
    if (const int error = writeImage(image.fd(), change))
        rollBack(image.fd(), path, journalPath, change, error);
    recordInHistory(historyPath, change, record, note);
    if (const int error = deleteJournal(journalPath))
        rollBack(image.fd(), path, journalPath, change, error);
    // The unlink is the commit: flushed, a save reported done stays done after
    // a power cut. The save has landed either way, so a failure here is no
    // failure of the save; at worst a power cut rolls it back whole.
    noteLanded(path);
    if (fault(SaveStep::CommitFlush) == 0)
        (void)flushFolderOf(journalPath);
    return std::move(change.report);
}

void recoverInterruptedSave(const std::string& imagePath) {
    if (imagePath.empty())
        return;
    const std::string journalPath = journalPathFor(imagePath);
    if (::access(journalPath.c_str(), F_OK) != 0)
        return;
    FileHandle image(imagePath, O_RDWR);
    if (!image.isOpen()) {
        // A missing image is the load's own failure to report.
        if (::access(imagePath.c_str(), F_OK) == 0)
            notifyOnce(journalPath, messages::journalNotApplied(imagePath, journalPath));
        return;
    }
    if (::flock(image.fd(), LOCK_EX | LOCK_NB) != 0)
        return; // a live save holds it and will finish or roll back itself
    recoverLocked(image.fd(), imagePath, journalPath);
}

std::uint64_t landedSaveCount() {
    const std::lock_guard lock(landed().guard);
    return landed().count;
}

std::string lastLandedImage() {
    const std::lock_guard lock(landed().guard);
    return landed().image;
}

void setRecoveryNoticeSink(RecoveryNoticeSink sink) {
    noticeSink() = std::move(sink);
}

void setSaveFaultHook(SaveFaultHook hook) {
    faultHook() = std::move(hook);
}

} // namespace starfall
