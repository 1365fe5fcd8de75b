#include "core/patch/PatchPlan.h"

#include "core/io/CoreError.h"
#include "core/patch/ImageWindow.h"

namespace starfall::patch {

ByteChanges planApply(const Patch& patch, const std::string& image,
                      const WorkProgress& progress) {
    if (const auto* ppf = std::get_if<PpfPatch>(&patch))
        return planPpf(*ppf, image, false);
    if (const auto* vcdiff = std::get_if<VcdiffPatch>(&patch))
        return planVcdiff(*vcdiff, image, progress);
    return planBps(std::get<BpsPatch>(patch), image);
}

ByteChanges planUndo(const Patch& patch, const std::string& image) {
    const auto* ppf = std::get_if<PpfPatch>(&patch);
    if (ppf == nullptr || !ppf->undo)
        throw CoreError(Failure::PatchWithoutUndo, pathOf(patch), -1,
                        std::string(summarize(patch).format));
    return planPpf(*ppf, image, true);
}

SaveReport writeChanges(const std::string& image, const ByteChanges& changes,
                        std::string_view label, CodeRule codes, RunWriter write) {
    if (changes.empty())
        return {};
    SaveReport report = write(image, changes.next, label, FramingRule::Allow, codes, {});
    std::vector<ByteSpan> written;
    written.reserve(changes.next.size());
    for (const ByteRun& run : changes.next)
        written.push_back({run.start, run.start + static_cast<Position>(run.bytes.size())});
    const SpanBytes readBack = readSpans(image, written);
    for (std::size_t i = 0; i < readBack.size(); ++i) {
        const ByteRun& run = changes.next[i];
        const auto [wrote, read] =
            std::mismatch(run.bytes.begin(), run.bytes.end(), readBack.bytes(i).begin());
        if (wrote != run.bytes.end()) {
            // The codes refreshed for the new bytes are refreshed back with the old.
            (void)write(image, changes.previous, label, FramingRule::Allow, codes, {});
            throw CoreError(Failure::PatchVerifyFailed, image,
                            run.start + (wrote - run.bytes.begin()));
        }
    }
    return report;
}

} // namespace starfall::patch
