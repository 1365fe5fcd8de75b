#pragma once

#include "patch/ByteChanges.h"
#include "patch/PatchFile.h"

#include <nlohmann/json.hpp>

namespace starfall::cli {

// What an apply or undo changed (or would change): the byte ranges and their
// totals. The one place that reports a patch's changes.
[[nodiscard]] nlohmann::json changesJson(const patch::ByteChanges& changes);

// `patch info`: format, description, block check, undo data, records, bytes
// changed and FILE_ID.DIZ, with the fields only one format has.
[[nodiscard]] nlohmann::json infoJson(const patch::Patch& patch);

} // namespace starfall::cli
