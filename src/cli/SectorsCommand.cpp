#include "cli/CliContext.h"
#include "cli/EditedSectors.h"

#include "core/sector/SectorScan.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace starfall::cli {

namespace {

struct SectorArguments {
    std::string image;
    std::string range;
};

nlohmann::json mismatchJson(const SectorMismatch& mismatch) {
    nlohmann::json codes = nlohmann::json::array();
    if (mismatch.edc)
        codes.push_back("edc");
    if (mismatch.ecc)
        codes.push_back("ecc");
    return {{"sector", mismatch.sector}, {"form", mismatch.form2 ? 2 : 1}, {"codes", codes}};
}

nlohmann::json mismatchesJson(const std::vector<SectorMismatch>& mismatches) {
    nlohmann::json list = nlohmann::json::array();
    for (const SectorMismatch& mismatch : mismatches)
        list.push_back(mismatchJson(mismatch));
    return list;
}

void verify(CliContext& context, const SectorArguments& arguments) {
    const SectorReport report = verifySectors(arguments.image);
    nlohmann::json out = {{"sectors", report.sectors},
                          {"form1", report.form1},
                          {"form2", report.form2},
                          {"mismatches", mismatchesJson(report.mismatches)}};
    if (report.trailingBytes != 0)
        out["trailing_bytes"] = report.trailingBytes;
    context.print(out);
    context.exitStatus = report.mismatches.empty() ? 0 : 1;
}

void repair(CliContext& context, const SectorArguments& arguments) {
    const std::vector<SectorRange> ranges =
        arguments.range.empty() ? editedSectors(context.listFolders(arguments.image))
                                : std::vector{parseSectorRange(arguments.range)};
    const RepairReport report = repairSectors(arguments.image, ranges);
    context.print({{"repaired", mismatchesJson(report.repaired)},
                   {"left_alone", mismatchesJson(report.leftAlone)}});
}

} // namespace

void addSectorsCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<SectorArguments>();
    CLI::App* sectors = app.add_subcommand("sectors", "Check or repair the sectors' EDC and ECC");
    sectors->require_subcommand(1);

    CLI::App* verifyCommand = sectors->add_subcommand(
        "verify", "List the sectors whose EDC or ECC does not match; exit 1 if any");
    verifyCommand->add_option("IMAGE", arguments->image, "The image file")->required();
    verifyCommand->callback([&context, arguments] { verify(context, *arguments); });

    CLI::App* repairCommand = sectors->add_subcommand(
        "repair", "Rewrite the EDC and ECC of the Form 1 sectors that do not match");
    repairCommand->add_option("IMAGE", arguments->image, "The image file")->required();
    repairCommand->add_option("--sectors", arguments->range,
                              "Sectors A-B to repair (default: those holding the records the "
                              "editor writes)");
    repairCommand->callback([&context, arguments] { repair(context, *arguments); });
}

} // namespace starfall::cli
