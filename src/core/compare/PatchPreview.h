#pragma once

// What applying (or undoing) a patch would do to an image, worked out before
// anything is written: the checks in plain words, why it cannot go ahead
// (another image, a damaged file, ...), whether it is already applied, the
// bytes it changes and the records they fall in.

#include "core/compare/OriginalComparison.h"
#include "core/patch/ByteChanges.h"

#include <optional>
#include <string>
#include <vector>

namespace starfall {

enum class PatchDirection { Apply, Undo };

struct PatchPreview {
    std::string format; // as `patch info` names it; empty when unreadable
    std::vector<std::string> checks;
    std::optional<std::string> refusal; // the message that stops it
    bool alreadyApplied = false;
    patch::ByteChanges changes;
    OriginalComparison touched; // the records the changes fall in, without fields

    [[nodiscard]] bool canGoAhead() const { return !refusal && !changes.empty(); }
};

// Only reads; a CoreError becomes the refusal. Throws WorkCancelled.
[[nodiscard]] PatchPreview previewPatch(const std::string& patchPath, const std::string& image,
                                        const NameList& units, const NameList& pilots,
                                        PatchDirection direction,
                                        const WorkProgress& progress = {});

// The records of `preview` that `comparison` already shows as changed.
[[nodiscard]] std::vector<const RecordChange*> alreadyEdited(const PatchPreview& preview,
                                                             const OriginalComparison& comparison);

} // namespace starfall
