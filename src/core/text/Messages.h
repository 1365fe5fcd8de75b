#pragma once

// Every text and title that the editor and the command-line tool show.
// Texts are UTF-8; trace lines travel in code page 949 and are built here too.

#include "core/io/CoreError.h"

#include <string>
#include <string_view>

namespace starfall {

enum class MessageIcon { Information, Exclamation };

// Why a patch file is refused as damaged (the detail of Failure::PatchDamaged).
enum class PatchFault {
    UnknownFormat,
    Truncated,
    BadHeader,
    ZeroLengthRecord,
    DizUnterminated,
    BadVarint,
    ActionPastTarget,
    CopyOutsideSource,
    CopyOutsideTarget,
    TargetShort,
    PatchChecksum,
    TargetChecksum,
    BeyondAddressable,
};

// Why an image is not the one a patch was made for (Failure::PatchWrongImage).
enum class ImageMismatch { BlockCheck, ImageSize, SourceSize, SourceCrc, OriginalBytes };

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
[[nodiscard]] Message openFailure(std::string_view imagePath);
[[nodiscard]] Message listFileMissing(std::string_view fileName);
// searchText arrives as the user typed it (UTF-8).
[[nodiscard]] Message pilotNotFound(std::string_view searchText);
[[nodiscard]] Message unitNotFound(std::string_view searchText);

// Trace lines, as code-page-949 bytes; names are passed as the list holds them.
[[nodiscard]] std::string pilotTrace(std::string_view nameCp949, long long position);
[[nodiscard]] std::string unitTrace(std::string_view nameCp949, long long position);
[[nodiscard]] std::string weaponTrace(long long position);

// What a save names when it refuses to write (UTF-8); names are passed as the
// list holds them (code page 949).
[[nodiscard]] std::string pilotRecordLabel(std::string_view nameCp949);
[[nodiscard]] std::string skillTableLabel(std::string_view nameCp949);
[[nodiscard]] std::string upgradeTableLabel();
[[nodiscard]] std::string unitRecordLabel(std::string_view nameCp949);
[[nodiscard]] std::string weaponRecordLabel(int number);
// What an import that saves several records at once names (UTF-8).
[[nodiscard]] std::string importLabel();
// What a program tells the user when it finds a save's journal beside the
// image (UTF-8): rolled back, left alone (another image's, or damaged), or not
// applicable because the image cannot be written.
[[nodiscard]] Message saveRolledBack(std::string_view imagePath, std::size_t bytes);
[[nodiscard]] Message journalLeftAlone(std::string_view journalPath);
[[nodiscard]] Message journalNotApplied(std::string_view imagePath, std::string_view journalPath);

// A failure no other message covers; the program ends after it.
[[nodiscard]] Message unexpectedFailure(std::string_view what);

// The name of a weapon that weapon.ini does not name (UTF-8).
[[nodiscard]] std::string defaultWeaponName(int number);

// Patch files: what a refusal names, and what a write of a patch names.
[[nodiscard]] std::string patchFault(PatchFault fault);
[[nodiscard]] std::string imageMismatch(ImageMismatch mismatch);
[[nodiscard]] std::string patchFileLimit(long long mebibytes);
[[nodiscard]] std::string changedBytesLimit(long long mebibytes);
[[nodiscard]] std::string patchLabel(std::string_view patchPath);

} // namespace messages

// The message a front end shows for a core failure.
[[nodiscard]] Message messageFor(Failure failure, std::string_view path, Position position,
                                 std::string_view detail);
[[nodiscard]] Message messageFor(const CoreError& error);

} // namespace starfall
