#pragma once

#include "core/lists/ListFolders.h"
#include "core/patch/ByteChanges.h"
#include "core/patch/PatchFile.h"

#include <nlohmann/json.hpp>

namespace starfall::cli {

// What an apply or undo changes in `image`, read before it writes: record by
// record as `diff` reports it (through the list files of `directory`, when
// they are there), the changed bytes no record holds, and "total_bytes". The
// one place that reports a patch's changes.
[[nodiscard]] nlohmann::json changesJson(const std::string& image, const ListFolders& directory,
                                         const patch::ByteChanges& changes);

// `patch info`: format, description, block check, undo data, records, bytes
// changed and FILE_ID.DIZ, with the fields only one format has.
[[nodiscard]] nlohmann::json infoJson(const patch::Patch& patch);

} // namespace starfall::cli
