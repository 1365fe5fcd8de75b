#include "core/compare/PatchPreview.h"

#include "core/io/CoreError.h"
#include "core/patch/PatchPlan.h"
#include "core/text/Messages.h"

using starfall::messages::PreviewCheck;

namespace starfall {

namespace {

// What the patch itself checks before it is let near the image.
std::string sourceCheck(const patch::Patch& patch) {
    if (const auto* ppf = std::get_if<patch::PpfPatch>(&patch)) {
        if (ppf->blockCheckAt)
            return messages::previewCheck(PreviewCheck::BlockCheck);
        if (ppf->imageSize)
            return messages::previewCheck(PreviewCheck::ImageSize);
        return messages::previewCheck(PreviewCheck::Nothing);
    }
    if (const auto* vcdiff = std::get_if<patch::VcdiffPatch>(&patch))
        return messages::previewCheck(vcdiff->checksums ? PreviewCheck::WindowChecksums
                                                        : PreviewCheck::Nothing);
    return messages::previewCheck(PreviewCheck::SourceSizeAndCrc);
}

} // namespace

PatchPreview previewPatch(const std::string& patchPath, const std::string& image,
                          const NameList& units, const NameList& pilots, PatchDirection direction,
                          const WorkProgress& progress) {
    PatchPreview preview;
    try {
        const patch::Patch patch = patch::readPatch(patchPath);
        preview.format = std::string(patch::summarize(patch).format);
        progress.report(0, 1);
        preview.changes = direction == PatchDirection::Apply
                              ? patch::planApply(patch, image, progress)
                              : patch::planUndo(patch, image);
        preview.checks.push_back(sourceCheck(patch));
        preview.checks.push_back(messages::previewCheck(PreviewCheck::InsideImage));
        preview.alreadyApplied = direction == PatchDirection::Apply && preview.changes.empty();
        preview.checks.push_back(
            preview.alreadyApplied
                ? messages::previewCheck(PreviewCheck::AlreadyApplied)
                : messages::previewChangedBytes(static_cast<long long>(preview.changes.bytes())));
    } catch (const CoreError& error) {
        preview.refusal = messageFor(error).text;
        return preview;
    }
    ChangedBytes bytes;
    for (const ByteRun& run : preview.changes.next)
        bytes.add(run.start, run.bytes.size());
    try {
        preview.touched = touchedRecords(std::move(bytes), image, units, pilots);
    } catch (const CoreError& error) {
        preview.refusal = messageFor(error).text;
    }
    return preview;
}

std::vector<const RecordChange*> alreadyEdited(const PatchPreview& preview,
                                               const OriginalComparison& comparison) {
    std::vector<const RecordChange*> out;
    for (const RecordChange& record : preview.touched.records) {
        if (comparison.find(record.section, record.index) != nullptr)
            out.push_back(&record);
    }
    return out;
}

} // namespace starfall
