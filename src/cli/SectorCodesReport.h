#pragma once

// What the writing verbs (set, import, patch apply and undo) share about the
// sectors' EDC/ECC: the --keep-codes flag, and the report of a save's codes
// in their JSON and, for codes left not matching, on standard error.

#include "cli/CliContext.h"
#include "core/io/ImageSave.h"

#include <nlohmann/json.hpp>

namespace CLI {
class App;
}

namespace starfall::cli {

void addKeepCodes(CLI::App& verb, bool& keepCodes);

[[nodiscard]] inline CodeRule codeRule(bool keepCodes) {
    return keepCodes ? CodeRule::Keep : CodeRule::Refresh;
}

// Adds "sector_codes": {"refreshed": [sectors], "bytes": N} and
// "stale_sectors": [sectors] to `out` (empty when nothing was saved), and
// names the stale sectors on the context's error stream.
void reportSectorCodes(const CliContext& context, const std::string& image,
                       const SaveReport& report, nlohmann::json& out);

} // namespace starfall::cli
