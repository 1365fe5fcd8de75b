#include "core/patch/PatchPlan.h"

#include "core/io/CoreError.h"
#include "core/patch/ImageWindow.h"
#include "core/patch/VcdiffDecoder.h"
#include "core/text/PatchFaultTexts.h"

namespace starfall::patch {

ByteChanges planVcdiff(const VcdiffPatch& patch, const std::string& image,
                       const WorkProgress& progress) {
    const Position size = imageSize(image);
    if (patch.targetSize != size)
        throw CoreError(Failure::ImageSizesDiffer, patch.path, -1,
                        std::to_string(size) + " ≠ " + std::to_string(patch.targetSize));
    // The decoder's output is compared with the image as it arrives; only
    // the bytes that differ are kept.
    ImageWindow window(image);
    ChangeCollector changes(patch.path);
    std::vector<std::uint8_t> held;
    Position output = 0;
    decodeVcdiff(image, patch.path, [&](std::span<const std::uint8_t> chunk) {
        if (static_cast<Position>(chunk.size()) > size - output)
            throw CoreError(Failure::PatchDamaged, patch.path, -1,
                            messages::patchFault(PatchFault::ActionPastTarget));
        held.resize(chunk.size());
        window.read(output, held);
        changes.compare(output, held, chunk);
        output += static_cast<Position>(chunk.size());
        progress.report(output, size);
    });
    if (output != size)
        throw CoreError(Failure::PatchDamaged, patch.path, -1,
                        messages::patchFault(PatchFault::TargetShort));
    return changes.take();
}

} // namespace starfall::patch
