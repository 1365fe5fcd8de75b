#pragma once

// What the writing verbs (set, import, patch apply and undo, history undo and
// redo) share: the --keep-codes and --no-history flags, and the report of a
// save's sector codes in their JSON and, for codes left not matching, on
// standard error.

#include "cli/CliContext.h"
#include "core/io/ImageSave.h"

#include <nlohmann/json.hpp>

namespace CLI {
class App;
}

namespace starfall::cli {

// --keep-codes into `keepCodes`; --no-history turns the history off for the run.
void addSaveFlags(CLI::App& verb, bool& keepCodes);

[[nodiscard]] inline CodeRule codeRule(bool keepCodes) {
    return keepCodes ? CodeRule::Keep : CodeRule::Refresh;
}

// Adds "sector_codes": {"refreshed": [sectors], "bytes": N} and
// "stale_sectors": [sectors] to `out` (empty when nothing was saved), and
// names the stale sectors on the context's error stream.
void reportSectorCodes(const CliContext& context, const std::string& image,
                       const SaveReport& report, nlohmann::json& out);

} // namespace starfall::cli
