#include "cli/CliContext.h"
#include "cli/SectorCodesReport.h"

#include "core/history/HistoryUndo.h"
#include "core/io/ImageSave.h"

#include <CLI/CLI.hpp>

#include <ctime>
#include <memory>
#include <optional>
#include <ostream>

namespace starfall::cli {

namespace {

struct HistoryArguments {
    std::string image;
    bool text = false;
    bool dryRun = false;
    bool keepCodes = false;
    std::optional<std::uint32_t> entry;
};

const char* actionName(HistoryAction action) {
    switch (action) {
    case HistoryAction::Undo:
        return "undo";
    case HistoryAction::Redo:
        return "redo";
    case HistoryAction::Save:
        break;
    }
    return "save";
}

std::string timeText(std::int64_t seconds) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    ::gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

nlohmann::json fieldsJson(const std::vector<FieldChange>& fields) {
    nlohmann::json list = nlohmann::json::array();
    for (const FieldChange& field : fields)
        list.push_back({{"key", field.key}, {"old", field.before}, {"new", field.after}});
    return list;
}

// Data bytes and sector code bytes, counted apart.
std::pair<std::size_t, std::size_t> byteCounts(const std::vector<HistoryRun>& runs) {
    std::size_t data = 0;
    std::size_t codes = 0;
    for (const HistoryRun& run : runs)
        (run.codes ? codes : data) += run.old.size();
    return {data, codes};
}

nlohmann::json entryJson(const HistoryEntry& entry, std::size_t number, bool standing) {
    const auto [data, codes] = byteCounts(entry.runs);
    nlohmann::json out = {{"number", number},
                          {"time", timeText(entry.time)},
                          {"action", actionName(entry.action)},
                          {"record", entry.record},
                          {"fields", fieldsJson(entry.fields)},
                          {"bytes", data},
                          {"code_bytes", codes},
                          {"standing", standing}};
    out["reverses"] = entry.reverses == 0 ? nlohmann::json(nullptr) : nlohmann::json(entry.reverses);
    return out;
}

std::string entryLine(const HistoryEntry& entry, std::size_t number, bool standing) {
    std::string line = std::to_string(number) + "  " + timeText(entry.time) + "  " +
                       actionName(entry.action);
    if (entry.reverses != 0)
        line += " " + std::to_string(entry.reverses);
    line += standing ? "" : " (undone)";
    line += "  " + entry.record;
    for (std::size_t i = 0; i < entry.fields.size(); ++i) {
        const FieldChange& field = entry.fields[i];
        line += (i == 0 ? "  " : ", ") + field.key + " " + field.before + " -> " + field.after;
    }
    return line + "  (" + std::to_string(byteCounts(entry.runs).first) + " bytes)";
}

std::vector<HistoryEntry> entriesOf(const std::string& image) {
    recoverInterruptedSave(image); // a cut-off save's entry goes before anything is read
    return soundHistoryOf(image);
}

void list(CliContext& context, const HistoryArguments& arguments) {
    if (arguments.image.empty())
        throw UsageError("history: give IMAGE, or one of undo, redo, clear");
    const std::vector<HistoryEntry> entries = entriesOf(arguments.image);
    const std::vector<bool> standing = standingEntries(entries);
    if (arguments.text) {
        for (std::size_t i = 0; i < entries.size(); ++i)
            *context.out << entryLine(entries[i], i + 1, standing[i]) << '\n';
        return;
    }
    nlohmann::json out = nlohmann::json::array();
    for (std::size_t i = 0; i < entries.size(); ++i)
        out.push_back(entryJson(entries[i], i + 1, standing[i]));
    context.print(out);
}

nlohmann::json runsJson(const std::vector<PlannedRun>& runs) {
    nlohmann::json list = nlohmann::json::array();
    for (const PlannedRun& run : runs) {
        std::vector<int> values;
        for (std::size_t i = 0; i < run.values.size(); ++i)
            values.push_back(run.masks.empty() || run.masks[i] != 0 ? run.values[i] : -1);
        list.push_back({{"start", run.start}, {"bytes", values}});
    }
    return list;
}

void reverse(CliContext& context, const HistoryArguments& arguments, HistoryAction action) {
    const std::vector<HistoryEntry> entries = entriesOf(arguments.image);
    const Reversal reversal = action == HistoryAction::Undo
                                  ? planUndo(arguments.image, entries, arguments.entry)
                                  : planRedo(arguments.image, entries);
    nlohmann::json out = {{"action", actionName(action)},
                          {"reverses", reversal.entry},
                          {"record", reversal.record},
                          {"fields", fieldsJson(reversal.fields)},
                          {"dry_run", arguments.dryRun}};
    if (arguments.dryRun) {
        out["writes"] = runsJson(reversal.runs);
    } else {
        const SaveReport report =
            applyReversal(arguments.image, reversal, codeRule(arguments.keepCodes));
        reportSectorCodes(context, arguments.image, report, out);
    }
    context.print(out);
}

void clear(CliContext& context, const HistoryArguments& arguments) {
    context.print({{"cleared", clearHistory(arguments.image)}});
}

void addImage(CLI::App& command, HistoryArguments& arguments) {
    command.add_option("IMAGE", arguments.image, "The image file")->required();
}

} // namespace

void addHistoryCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<HistoryArguments>();
    CLI::App* history = app.add_subcommand(
        "history", "List the image's saves (IMAGE.history), or undo, redo or clear them");
    history->require_subcommand(0, 1);
    history->add_option("IMAGE", arguments->image, "The image file");
    history->add_flag("--text", arguments->text, "Print a short table instead of JSON");
    history->callback([&context, arguments, history] {
        if (history->get_subcommands().empty())
            list(context, *arguments);
    });

    CLI::App* undo = history->add_subcommand(
        "undo", "Undo the last save, or save N, by writing its old bytes back (itself a save)");
    addImage(*undo, *arguments);
    undo->add_option("N", arguments->entry, "The entry to undo, from 1 (default: the last)");
    undo->add_flag("--dry-run", arguments->dryRun, "Print what would be written; write nothing");
    addSaveFlags(*undo, arguments->keepCodes);
    undo->callback(
        [&context, arguments] { reverse(context, *arguments, HistoryAction::Undo); });

    CLI::App* redo = history->add_subcommand("redo", "Redo the last undo");
    addImage(*redo, *arguments);
    redo->add_flag("--dry-run", arguments->dryRun, "Print what would be written; write nothing");
    addSaveFlags(*redo, arguments->keepCodes);
    redo->callback(
        [&context, arguments] { reverse(context, *arguments, HistoryAction::Redo); });

    CLI::App* clearCommand =
        history->add_subcommand("clear", "Delete the image's history of saves");
    addImage(*clearCommand, *arguments);
    clearCommand->callback([&context, arguments] { clear(context, *arguments); });
}

} // namespace starfall::cli
