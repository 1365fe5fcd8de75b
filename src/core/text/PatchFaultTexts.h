#pragma once

// Why a patch is refused, as the detail a refusal carries (UTF-8): a damaged
// file, an image it was not made for, or a size past what the patch code
// allows.

#include <string>

namespace starfall {

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

namespace messages {

[[nodiscard]] std::string patchFault(PatchFault fault);
[[nodiscard]] std::string imageMismatch(ImageMismatch mismatch);
// The limits a Failure::PatchTooLarge names.
[[nodiscard]] std::string patchFileLimit(long long mebibytes);
[[nodiscard]] std::string changedBytesLimit(long long mebibytes);

} // namespace messages

} // namespace starfall
