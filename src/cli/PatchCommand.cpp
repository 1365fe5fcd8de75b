#include "cli/CliContext.h"
#include "cli/PatchConflicts.h"
#include "cli/PatchJson.h"
#include "cli/SectorCodesReport.h"

#include "core/history/HistoryPatch.h"
#include "core/history/HistoryUndo.h"
#include "core/io/CoreError.h"
#include "core/io/FileHandle.h"
#include "core/patch/PatchFile.h"
#include "core/patch/PatchMake.h"
#include "core/patch/PatchOverlap.h"
#include "core/patch/PatchPlan.h"
#include "core/text/RecordNames.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>

namespace starfall::cli {

namespace {

using nlohmann::json;

constexpr std::string_view kAlreadyApplied = "already applied";

struct PatchArguments {
    std::string base;
    std::string modded;
    std::string out;
    std::string image;
    std::string patch;
    std::vector<std::string> patches;
    std::string format = "ppf";
    std::string description;
    std::string diz;
    bool keepStaleCodes = false;
    bool keepCodes = false;
    bool dryRun = false;
    bool fromHistory = false;
    std::uint32_t since = 1;
    std::vector<std::string> files; // make: BASE MODDED OUT, or IMAGE OUT from the history
};

std::string readDiz(const std::string& path) {
    const auto text = readRegularFile(path);
    if (!text)
        throw CoreError(Failure::PatchOpenForLoad, path);
    if (text->size() > patch::kMaxDizBytes)
        throw UsageError("--diz: a FILE_ID.DIZ holds at most 3072 bytes");
    return *text;
}

patch::MakeOptions makeOptions(const PatchArguments& arguments) {
    patch::MakeOptions options;
    options.kind = arguments.format == "bps" ? patch::PatchKind::Bps : patch::PatchKind::Ppf;
    options.description = arguments.description;
    options.keepStaleCodes = arguments.keepStaleCodes;
    if (options.kind == patch::PatchKind::Ppf &&
        options.description.size() > patch::kPpfDescriptionBytes)
        throw UsageError("--description: a PPF description holds at most 50 bytes");
    if (!arguments.diz.empty()) {
        if (options.kind == patch::PatchKind::Bps)
            throw UsageError("--diz: a BPS patch carries no FILE_ID.DIZ");
        options.diz = readDiz(arguments.diz);
    }
    return options;
}

void refuseOverwrite(const std::string& out, const std::string& image) {
    std::error_code ignored;
    if (std::filesystem::equivalent(out, image, ignored))
        throw UsageError("OUT is the image " + image + "; the patch would overwrite it");
}

// The patch's bytes from the image's history of saves: no copy of the
// original needed.
std::vector<std::uint8_t> makeFromHistory(const std::string& image,
                                          const patch::MakeOptions& options,
                                          std::uint32_t since) {
    if (options.kind == patch::PatchKind::Bps)
        throw UsageError("--from-history: a BPS patch needs the whole original image for its "
                         "CRC; make a PPF patch, or give BASE and MODDED");
    recoverInterruptedSave(image);
    const std::vector<HistoryEntry> entries = soundHistoryOf(image);
    if (since < 1 || since > entries.size())
        throw UsageError("--since: the history holds entries 1 to " +
                         std::to_string(entries.size()));
    return history::makePpf(image, history::changesSince(image, entries, since), options);
}

void make(CliContext& context, PatchArguments arguments) {
    const patch::MakeOptions options = makeOptions(arguments);
    if (arguments.files.size() != (arguments.fromHistory ? 2u : 3u))
        throw UsageError(arguments.fromHistory ? "patch make --from-history takes IMAGE OUT"
                                               : "patch make takes BASE MODDED OUT");
    arguments.out = arguments.files.back();
    arguments.files.pop_back();
    for (const std::string& image : arguments.files)
        refuseOverwrite(arguments.out, image);
    const std::vector<std::uint8_t> bytes =
        arguments.fromHistory
            ? makeFromHistory(arguments.files[0], options, arguments.since)
            : patch::makePatch(arguments.files[0], arguments.files[1], options);
    patch::writePatchFile(arguments.out, bytes);
    json out = {{"patch", arguments.out}};
    out.update(infoJson(patch::parsePatch(bytes, arguments.out)));
    context.print(out);
}

json report(const CliContext& context, const PatchArguments& arguments, const patch::Patch& patch,
            std::string_view result, const patch::ByteChanges& changes) {
    return {
        {"image", arguments.image},
        {"patch", arguments.patch},
        {"format", patch::summarize(patch).format},
        {"result", result},
        {"changes", changesJson(arguments.image, context.listFolders(arguments.image), changes)}};
}

// Writes the changes unless this is a dry run, and prints `done` with what
// the save did to the sectors' codes.
void writeAndPrint(const CliContext& context, const PatchArguments& arguments,
                   const patch::ByteChanges& changes, json done) {
    SaveReport saved;
    if (!arguments.dryRun)
        saved = patch::writeChanges(arguments.image, changes, messages::patchLabel(arguments.patch),
                                    codeRule(arguments.keepCodes));
    reportSectorCodes(context, arguments.image, saved, done);
    context.print(done);
}

void apply(CliContext& context, const PatchArguments& arguments) {
    const patch::Patch patch = patch::readPatch(arguments.patch);
    const patch::ByteChanges changes = patch::planApply(patch, arguments.image);
    const std::string_view result = changes.empty()    ? kAlreadyApplied
                                    : arguments.dryRun ? "dry run"
                                                       : "applied";
    // The report reads the records as they are before the write.
    writeAndPrint(context, arguments, changes, report(context, arguments, patch, result, changes));
}

void undo(CliContext& context, const PatchArguments& arguments) {
    const patch::Patch patch = patch::readPatch(arguments.patch);
    const patch::ByteChanges changes = patch::planUndo(patch, arguments.image);
    writeAndPrint(context, arguments, changes,
                  report(context, arguments, patch, "undone", changes));
}

void info(CliContext& context, const PatchArguments& arguments) {
    json out = {{"patch", arguments.patch}};
    out.update(infoJson(patch::readPatch(arguments.patch)));
    context.print(out);
}

// Each patch is planned against the image as it is, as if it came first.
void check(CliContext& context, const PatchArguments& arguments) {
    std::vector<patch::ByteChanges> changes;
    for (const std::string& path : arguments.patches)
        changes.push_back(patch::planApply(patch::readPatch(path), arguments.image));
    json out = {{"image", arguments.image}, {"patches", arguments.patches}};
    out.update(conflictsJson(arguments.image, context.listFolders(arguments.image),
                             patch::findOverlaps(changes),
                             arguments.patches));
    const bool conflicts = !out["conflicts"].empty();
    out["result"] = conflicts ? "conflicts" : "no conflicts";
    context.print(out);
    if (conflicts)
        context.exitStatus = 1;
}

void addMake(CLI::App& patch, CliContext& context,
             const std::shared_ptr<PatchArguments>& arguments) {
    CLI::App* command = patch.add_subcommand(
        "make", "Write the difference of two images of one size as a PPF 3.0 or BPS patch");
    command
        ->add_option("BASE MODDED OUT", arguments->files,
                     "The image as it was, the edited image and the patch file to write; with "
                     "--from-history, IMAGE and OUT")
        ->required()
        ->expected(2, 3);
    command->add_flag("--from-history", arguments->fromHistory,
                      "Make a PPF 3.0 patch of IMAGE's saves from its history (IMAGE.history)");
    command->add_option("--since", arguments->since,
                        "With --from-history: the saves from entry N on (default: all)");
    command->add_option("--format", arguments->format, "ppf (PPF 3.0, the default) or bps")
        ->check(CLI::IsMember({"ppf", "bps"}));
    command->add_option("--description", arguments->description,
                        "PPF: up to 50 bytes; BPS: the metadata");
    command->add_option("--diz", arguments->diz, "A FILE_ID.DIZ of up to 3072 bytes (PPF)")
        ->check(CLI::ExistingFile);
    command->add_flag("--keep-stale-codes", arguments->keepStaleCodes,
                      "Make the patch even where changed sectors carry stale EDC/ECC");
    command->callback([&context, arguments] { make(context, *arguments); });
}

void addApplyAndUndo(CLI::App& patch, CliContext& context,
                     const std::shared_ptr<PatchArguments>& arguments) {
    CLI::App* applyCommand = patch.add_subcommand(
        "apply", "Apply a PPF 1.0/2.0/3.0, BPS or VCDIFF (xdelta) patch to an image in place, all or nothing");
    applyCommand->add_option("IMAGE", arguments->image, "The image file")->required();
    applyCommand->add_option("PATCH", arguments->patch, "The patch file")->required();
    applyCommand->add_flag("--dry-run", arguments->dryRun, "Check and report; write nothing");
    addSaveFlags(*applyCommand, arguments->keepCodes);
    applyCommand->callback([&context, arguments] { apply(context, *arguments); });

    CLI::App* undoCommand =
        patch.add_subcommand("undo", "Take a PPF 3.0 patch with undo data back out of an image");
    undoCommand->add_option("IMAGE", arguments->image, "The image file")->required();
    undoCommand->add_option("PATCH", arguments->patch, "The PPF 3.0 patch file")->required();
    addSaveFlags(*undoCommand, arguments->keepCodes);
    undoCommand->callback([&context, arguments] { undo(context, *arguments); });
}

} // namespace

void addPatchCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<PatchArguments>();
    CLI::App* patch = app.add_subcommand("patch", "Make, apply, undo, check or describe patch files");
    patch->require_subcommand(1);
    addMake(*patch, context, arguments);
    addApplyAndUndo(*patch, context, arguments);
    CLI::App* checkCommand = patch->add_subcommand(
        "check", "Name the records that two or more of the patches change (exit 1 if any)");
    checkCommand->add_option("IMAGE", arguments->image, "The image the patches are for")
        ->required();
    checkCommand->add_option("PATCH", arguments->patches, "The patch files")->required();
    checkCommand->callback([&context, arguments] { check(context, *arguments); });
    CLI::App* infoCommand = patch->add_subcommand("info", "Describe a patch file");
    infoCommand->add_option("PATCH", arguments->patch, "The patch file")->required();
    infoCommand->callback([&context, arguments] { info(context, *arguments); });
}

} // namespace starfall::cli
