#pragma once

// The messages the editor and the command-line tool show, each a UTF-8 text
// with its title and icon, and the message for each core failure. Trace
// lines, record names and the details of patch refusals have files of their
// own beside this one.

#include "core/io/CoreError.h"

#include <string>
#include <string_view>

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
[[nodiscard]] Message listFileMissing(std::string_view fileName);
// searchText arrives as the user typed it (UTF-8).
[[nodiscard]] Message pilotNotFound(std::string_view searchText);
[[nodiscard]] Message unitNotFound(std::string_view searchText);

// What a program tells the user when it finds a save's journal beside the
// image (UTF-8): rolled back, left alone (another image's, or damaged), or not
// applicable because the image cannot be written.
[[nodiscard]] Message saveRolledBack(std::string_view imagePath, std::size_t bytes);
[[nodiscard]] Message journalLeftAlone(std::string_view journalPath);
[[nodiscard]] Message journalNotApplied(std::string_view imagePath, std::string_view journalPath);

// A save wrote into raw sectors whose EDC/ECC do not match their data after
// it (they did not before it, the save wrote them itself, or it was told to
// keep them); `sectors` as "12, 40-42".
[[nodiscard]] Message staleSectorsKept(std::string_view imagePath, std::string_view sectors);

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
