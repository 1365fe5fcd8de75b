#include "cli/SectorCodesReport.h"

#include "core/patch/PatchMake.h"
#include "core/text/Messages.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace starfall::cli {

void addSaveFlags(CLI::App& verb, bool& keepCodes) {
    verb.add_flag("--keep-codes", keepCodes,
                  "Write the record bytes only and leave the sectors' EDC/ECC as they are");
    verb.add_flag_callback(
        "--no-history", [] { setHistoryRule(HistoryRule::Skip); },
        "Do not record this save in IMAGE.history");
}

void reportSectorCodes(const CliContext& context, const std::string& image,
                       const SaveReport& report, nlohmann::json& out) {
    out["sector_codes"] = {{"refreshed", report.refreshedSectors},
                           {"bytes", report.codeBytesWritten}};
    out["stale_sectors"] = report.staleSectors;
    if (!report.staleSectors.empty() && context.err != nullptr)
        *context.err
            << messages::staleSectorsKept(image, patch::describeSectors(report.staleSectors)).text
            << '\n';
}

} // namespace starfall::cli
