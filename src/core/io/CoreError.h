#pragma once

#include "core/io/Position.h"

#include <stdexcept>
#include <string>

namespace starfall {

enum class Failure {
    ImageOpenForLoad,      // the image cannot be opened for reading
    ImageOpenForSave,      // the image cannot be opened for update
    PositionOutOfRange,    // a planned position lies before 0 or at or past 2 GiB
    WriteFailed,           // a write, flush or close of the image failed
    SectorFraming,         // a save would write into a sector's head or tail
    ListFileMissing,       // charlist.ini or unitlist.ini in none of the folders (path: one a line)
    PastImageEnd,          // a save would write at or past the image's end
    JournalUnavailable,    // a save cannot create or flush its journal
    JournalInTheWay,       // a journal that cannot be applied lies where a save needs its own
    NoRawSectors,          // a sector check of a file that holds no raw 2352-byte sectors
    InputOpenForLoad,      // an import document cannot be opened or read
    PatchOpenForLoad,      // a patch file (or its FILE_ID.DIZ) cannot be opened or read
    PatchDamaged,          // a patch file is truncated, damaged or of no known format
    PatchWrongImage,       // the image is not the one the patch was made for
    PatchOutsideImage,     // a patch record reaches past the image's end
    PatchNotApplied,       // an undo finds the image without the patch's new bytes
    PatchWithoutUndo,      // an undo of a patch that carries no undo data
    PatchTooLarge,         // a patch needs more memory than the patch code allows
    ImageSizesDiffer,      // two images, or a patch's source and target, differ in size
    StaleSectorCodes,      // changed sectors whose EDC/ECC no longer match their data
    ChangedSectorCodes,    // sectors whose data is the base's but whose EDC/ECC changed, wrongly
    ImagesIdentical,       // a patch of two images without a differing byte
    TemporaryFileInTheWay, // a file already stands where an output's temporary file goes
    PatchVerifyFailed,     // bytes read back after a patch's write differ; rolled back
    HistoryRefused,        // an undo or redo of a save that cannot be done; the detail says why
    PatchDecoderMissing,   // the program that decodes a VCDIFF patch cannot be started
};

// The one exception type the core throws. It carries what went wrong and
// where; the front ends turn it into their own message (see Messages.h).
class CoreError : public std::runtime_error {
public:
    CoreError(Failure failure, std::string path, Position position = -1, std::string detail = {});

    [[nodiscard]] Failure failure() const { return m_failure; }
    [[nodiscard]] const std::string& path() const { return m_path; }
    [[nodiscard]] Position position() const { return m_position; }
    [[nodiscard]] const std::string& detail() const { return m_detail; }
    // A load that cannot open its image and a missing list file end the program.
    [[nodiscard]] bool endsProgram() const;

private:
    Failure m_failure;
    std::string m_path;
    Position m_position;
    std::string m_detail;
};

} // namespace starfall
