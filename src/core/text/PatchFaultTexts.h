#pragma once

// Why a patch is refused, as the detail a refusal carries (UTF-8): a damaged
// file, an image it was not made for, or a size past what the patch code
// allows.

#include <string>
#include <string_view>

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
enum class ImageMismatch {
    BlockCheck,
    ImageSize,
    SourceSize,
    SourceCrc,
    OriginalBytes,
    WindowChecksum, // a VCDIFF window's Adler-32, as xdelta3 checks it
};

namespace messages {

[[nodiscard]] std::string patchFault(PatchFault fault);
[[nodiscard]] std::string imageMismatch(ImageMismatch mismatch);
// xdelta3 refused a VCDIFF patch; `why` in its own words.
[[nodiscard]] std::string decoderFault(std::string_view why);
// The limits a Failure::PatchTooLarge names.
[[nodiscard]] std::string patchFileLimit(long long mebibytes);
[[nodiscard]] std::string changedBytesLimit(long long mebibytes);

} // namespace messages

} // namespace starfall
