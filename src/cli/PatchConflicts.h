#pragma once

// Where patches meant to be stacked on one image change the same bytes,
// record by record: what `patch check` prints.

#include "core/lists/ListFolders.h"
#include "core/patch/PatchOverlap.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace starfall::cli {

// {"conflicts": [{"section", the record's naming, "patches": [paths], "bytes",
// "same_values"}] for each record an overlap touches (through the list files
// of `directory`, when they are there), then {"section": "other_bytes",
// "start", "bytes", ...} for the overlapping bytes no record holds;
// "sector_code_bytes": the overlapping bytes of sectors' EDC/ECC, counted
// apart, since every save and apply makes those afresh for the data}.
[[nodiscard]] nlohmann::json conflictsJson(const std::string& image, const ListFolders& directory,
                                           const std::vector<patch::Overlap>& overlaps,
                                           const std::vector<std::string>& patches);

} // namespace starfall::cli
