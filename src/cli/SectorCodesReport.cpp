#include "cli/SectorCodesReport.h"

#include "core/patch/PatchMake.h"
#include "core/text/Messages.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace starfall::cli {

void addKeepCodes(CLI::App& verb, bool& keepCodes) {
    verb.add_flag("--keep-codes", keepCodes,
                  "Write the record bytes only and leave the sectors' EDC/ECC as they are");
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
