#pragma once

// Turns a patch into the bytes it changes in one image, checking everything
// first, and writes them as one plan. An image that already holds what the
// patch would write gives an empty plan.

#include "core/patch/ByteChanges.h"
#include "core/io/WorkProgress.h"
#include "core/patch/PatchFile.h"

#include <string>
#include <string_view>

namespace starfall::patch {

// Throws CoreError: PatchWrongImage (block check, PPF 2.0 image size, BPS
// source size or CRC32, or a PPF record's undo bytes matching neither what
// the image holds nor the new bytes), PatchOutsideImage, ImageSizesDiffer (a
// BPS that would change the image's size), PatchDamaged (a BPS whose target
// CRC32 does not match), PatchTooLarge, and for a VCDIFF what planVcdiff
// throws. Only reads the image; a long plan reports to `progress`.
[[nodiscard]] ByteChanges planApply(const Patch& patch, const std::string& image,
                                    const WorkProgress& progress = {});

// PPF 3.0 with undo data only (else PatchWithoutUndo); throws
// PatchNotApplied unless the image holds the new bytes of every record.
[[nodiscard]] ByteChanges planUndo(const Patch& patch, const std::string& image);

[[nodiscard]] ByteChanges planPpf(const PpfPatch& patch, const std::string& image, bool undo);
[[nodiscard]] ByteChanges planBps(const BpsPatch& patch, const std::string& image);
// Has xdelta3 build the target from the image and keeps the bytes that differ.
// Throws CoreError: ImageSizesDiffer (a target of another size than the
// image), what decodeVcdiff throws, PatchDamaged (output past or short of the
// target size the windows give), PatchTooLarge.
[[nodiscard]] ByteChanges planVcdiff(const VcdiffPatch& patch, const std::string& image,
                                     const WorkProgress& progress = {});

// How the plan reaches the image; writeRuns, except in tests.
using RunWriter = SaveReport (*)(const std::string&, std::span<const ByteRun>, std::string_view,
                                 FramingRule, CodeRule, const HistoryNote&);

// Writes the changes as one plan over sector framing too (a patch carries
// whole sectors' codes), reads them back, and when they do not read back as
// written, writes the previous bytes again and throws
// CoreError(PatchVerifyFailed). Writes nothing for an empty plan. The codes
// of the sectors it changes are refreshed as in every save, unless the patch
// writes them itself or `codes` is Keep; only the patch's bytes are read back.
SaveReport writeChanges(const std::string& image, const ByteChanges& changes,
                        std::string_view label, CodeRule codes = CodeRule::Refresh,
                        RunWriter write = &writeRuns);

} // namespace starfall::patch
