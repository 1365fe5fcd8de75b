#include "cli/CliContext.h"
#include "cli/RecordChanges.h"

#include "core/io/ImageAccess.h"
#include "core/io/ImageComparison.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

namespace starfall::cli {

namespace {

struct DiffArguments {
    std::string base;
    std::string other;
    bool asImport = false;
    bool text = false;
    bool exitCode = false;
};

// OTHER's values of every changed field, in the shape `import` reads.
nlohmann::json importDocument(const nlohmann::json& changes) {
    nlohmann::json document = nlohmann::json::object();
    for (const auto& [section, records] : changes.items()) {
        for (const auto& record : records) {
            nlohmann::json entry = record;
            entry.erase("changes");
            for (const auto& [key, values] : record["changes"].items())
                setAtPath(entry, key, values[1]);
            if (section == "upgrade")
                document[section] = std::move(entry);
            else
                document[section].push_back(std::move(entry));
        }
    }
    return document;
}

std::string shown(const nlohmann::json& value) {
    return value.is_string() ? value.get<std::string>() : value.dump();
}

// One line a changed record, then one for the bytes no record holds.
void printText(std::ostream& out, const nlohmann::json& report) {
    for (const char* section : {"units", "pilots", "skills", "weapons", "upgrade"}) {
        for (const auto& record : report[section]) {
            out << section;
            for (const char* key : {"index", "number", "name"}) {
                if (record.contains(key))
                    out << ' ' << (std::string_view(key) == "index" ? "#" : "")
                        << shown(record[key]);
            }
            const char* separator = ": ";
            for (const auto& [key, values] : record["changes"].items()) {
                out << separator << key << ' ' << shown(values[0]) << " -> " << shown(values[1]);
                separator = ", ";
            }
            out << '\n';
        }
    }
    std::int64_t bytes = 0;
    for (const auto& range : report["other_bytes"])
        bytes += range["length"].get<std::int64_t>();
    out << "other bytes: " << bytes << " in " << report["other_bytes"].size()
        << " ranges; sector codes: " << report["sector_code_bytes"] << " bytes\n";
}

void diff(CliContext& context, const DiffArguments& arguments) {
    const ListFolders directory = context.listFolders(arguments.base);
    // Every listed record of both images is read: in blocks, a few reads
    // for a table instead of a few for each record.
    const ImageReadScope baseScope(arguments.base, ScopeReads::Blocks);
    const ImageReadScope otherScope(arguments.other, ScopeReads::Blocks);
    // Both sides hold the weapons either image lists.
    RecordChanges changes;
    visitImageRecords(
        arguments.base, &arguments.other, directory, listedWeapons(arguments.other, directory),
        [&changes](std::string_view section, const RecordView& before, const RecordView* after) {
            changes.add(section, before, *after);
        });

    OtherBytes bytes(changes.positions(), looksRaw(readRange(arguments.base, 0, 16)));
    const ImageComparison comparison =
        compareImages(arguments.base, arguments.other,
                      [&bytes](Position start, std::size_t length) { bytes.addRun(start, length); });
    nlohmann::json report = changes.json();
    if (arguments.asImport) {
        context.print(importDocument(report));
    } else {
        bytes.addTo(report);
        if (comparison.baseSize != comparison.otherSize)
            report["sizes"] = {comparison.baseSize, comparison.otherSize};
        if (arguments.text)
            printText(*context.out, report);
        else
            context.print(report);
    }
    if (arguments.exitCode && comparison.differ)
        context.exitStatus = 1;
}

} // namespace

void addDiffCommand(CLI::App& app, CliContext& context) {
    auto arguments = std::make_shared<DiffArguments>();
    CLI::App* command = app.add_subcommand(
        "diff", "Compare two images through the list files: the records' changed fields, then "
                "the changed bytes no record holds");
    command->add_option("BASE", arguments->base, "The image as it was")->required();
    command->add_option("OTHER", arguments->other, "The image to compare with it")->required();
    command->add_flag("--as-import", arguments->asImport,
                      "Print OTHER's changed values as `import` reads them");
    command->add_flag("--text", arguments->text, "Print a short table for people");
    command->add_flag("--exit-code", arguments->exitCode, "Exit 1 when the images differ");
    command->callback([&context, arguments] { diff(context, *arguments); });
}

} // namespace starfall::cli
