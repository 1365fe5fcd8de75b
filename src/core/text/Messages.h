#pragma once

// The messages the editor and the command-line tool show, each a UTF-8 text
// with its title and icon, and the message for each core failure. Trace
// lines, record names and the details of patch refusals have files of their
// own beside this one.

#include "core/io/CoreError.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace starfall {

enum class MessageIcon { Information, Exclamation };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::Information;

    bool operator==(const Message&) const = default;
};

namespace messages {

inline constexpr std::string_view kTitleRomEditor = "롬 에디터";
inline constexpr std::string_view kTitleStarfall = "Starfall 롬 에디터";
inline constexpr std::string_view kTitleWarning = "경고";

[[nodiscard]] Message saveDone();
// An image (for reading or for update) or a patch file cannot be opened, or
// a read of it fails after the open.
[[nodiscard]] Message fileOpenFailure(std::string_view filePath);
// `folders` are the folders searched, one a line.
[[nodiscard]] Message listFileMissing(std::string_view fileName, std::string_view folders);
// searchText arrives as the user typed it (UTF-8).
[[nodiscard]] Message pilotNotFound(std::string_view searchText);
[[nodiscard]] Message unitNotFound(std::string_view searchText);

// What a program tells the user when it finds a save's journal beside the
// image (UTF-8): rolled back, left alone (another image's, or damaged), or not
// applicable because the image cannot be written.
[[nodiscard]] Message saveRolledBack(std::string_view imagePath, std::size_t bytes);
[[nodiscard]] Message journalLeftAlone(std::string_view journalPath);
[[nodiscard]] Message journalNotApplied(std::string_view imagePath, std::string_view journalPath);
// The image holds, at `position`, neither the byte the journal's save found
// nor the one it wrote: something else changed it since. `hintsDiffer` when
// the image's size, device or inode differ from the journal's too.
[[nodiscard]] Message journalNotTheImages(std::string_view journalPath, Position position,
                                          bool hintsDiffer);
// The image was rolled back, but its journal's folder cannot be written.
[[nodiscard]] Message journalStuck(std::string_view imagePath, std::string_view journalPath,
                                   std::string_view reason);

// A save wrote into raw sectors whose EDC/ECC do not match their data after
// it (they did not before it, the save wrote them itself, or it was told to
// keep them); `sectors` as "12, 40-42".
[[nodiscard]] Message staleSectorsKept(std::string_view imagePath, std::string_view sectors);

// The image's history of saves cannot be trusted (damaged, or another
// image's): it was moved to `asidePath` and a new one begun.
[[nodiscard]] Message historySetAside(std::string_view historyPath, std::string_view asidePath);
// A save landed, but its entry could not be added to the history.
[[nodiscard]] Message historyNotWritten(std::string_view historyPath, std::string_view reason);

// Asked before the history of saves is deleted.
[[nodiscard]] Message historyClearQuestion(std::string_view historyPath);

// Why an undo or redo of a saved entry (numbered from 1) was refused; the
// detail of CoreError(HistoryRefused). Positions are listed as "12, 40".
[[nodiscard]] std::string historyNothingToUndo();
[[nodiscard]] std::string historyNothingToRedo();
[[nodiscard]] std::string historyNoEntry(std::uint32_t entry);
[[nodiscard]] std::string historyEntryIsAnUndo(std::uint32_t entry);
[[nodiscard]] std::string historyAlreadyUndone(std::uint32_t entry);
[[nodiscard]] std::string historyLaterFirst(std::uint32_t entry,
                                            const std::vector<std::uint32_t>& later);
[[nodiscard]] std::string historyImageChanged(std::uint32_t entry,
                                              const std::vector<Position>& positions);
[[nodiscard]] std::string historyUntrusted(std::string_view historyPath);

// Said after a failure that came once a save into the image had landed.
[[nodiscard]] Message saveLandedBeforeFailure(std::string_view imagePath);

// An image that opened but cannot be written (read-only, a read-only file
// system); `reason` is the system's error text.
[[nodiscard]] Message imageNotWritable(std::string_view imagePath, std::string_view reason);
// `message` with the system's reason for it appended.
[[nodiscard]] Message withReason(Message message, std::string_view reason);

// The editor's save refused a number outside its field's range; `field` as
// the editor labels it.
[[nodiscard]] Message valueOutOfRange(std::string_view field, std::int64_t min, std::int64_t max);
// A save found nothing to change in a record that lies past the image's end.
[[nodiscard]] Message nothingChanged();
// The question before edits not yet saved would be lost.
[[nodiscard]] Message unsavedEdits();
// An image too short for some listed records, named by kind and count.
[[nodiscard]] Message recordsPastImageEnd(std::string_view imagePath, std::size_t units,
                                          std::size_t pilots, std::size_t weapons);

// The editor's comparison with the untouched original of an image: the mark
// before a changed record's name and what screen readers hear for it, what a
// changed field's tooltip says, and the refusals of an original that cannot
// be one (UTF-8).
inline constexpr std::string_view kOriginalMark = "● ";
inline constexpr std::string_view kChangedFromOriginal = "원본과 다름";
[[nodiscard]] std::string originalValue(std::string_view value);
[[nodiscard]] Message originalSizeDiffers(std::string_view originalPath, long long originalSize,
                                         long long imageSize);
[[nodiscard]] Message originalListsDiffer(std::string_view originalPath, std::string_view fileName);
[[nodiscard]] Message originalIsTheImage(std::string_view path);
// A comparison, or a patch, stopped with Cancel before it wrote anything.
[[nodiscard]] Message workCancelled();

// What the editor tells of a patch it made, applied or undid.
[[nodiscard]] Message patchMade(std::string_view patchPath);
[[nodiscard]] Message patchApplied(std::string_view patchPath);
[[nodiscard]] Message patchUndone(std::string_view patchPath);
// A patch to be written over the image or its original.
[[nodiscard]] Message patchWouldOverwrite(std::string_view patchPath);
[[nodiscard]] Message patchDescriptionTooLong(long long bytes);
[[nodiscard]] Message patchDizTooLarge(long long bytes);

// The checks a patch's preview lists (UTF-8): what it checked the image with,
// that it stays inside the image, and whether it is applied already.
enum class PreviewCheck {
    BlockCheck,
    ImageSize,
    SourceSizeAndCrc,
    WindowChecksums,
    Nothing,
    InsideImage,
    AlreadyApplied,
};
[[nodiscard]] std::string previewCheck(PreviewCheck check);
[[nodiscard]] std::string previewChangedBytes(long long bytes);
// The records a patch would change that the comparison with the original
// shows as edited already, as "units #1 NAME; pilots #0 NAME".
[[nodiscard]] std::string previewTouchesEdited(std::string_view records);

// A failure no other message covers; the program ends after it.
[[nodiscard]] Message unexpectedFailure(std::string_view what);

} // namespace messages

// The message a front end shows for a core failure.
[[nodiscard]] Message messageFor(Failure failure, std::string_view path, Position position,
                                 std::string_view detail);
[[nodiscard]] Message messageFor(const CoreError& error);

} // namespace starfall
