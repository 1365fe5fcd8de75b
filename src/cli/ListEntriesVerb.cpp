#include "cli/ListEntriesVerb.h"

#include "cli/CliContext.h"

#include "core/lists/NameListReader.h"

#include <CLI/CLI.hpp>

namespace starfall::cli {

namespace {

nlohmann::json listJson(const NameList& list) {
    nlohmann::json entries = nlohmann::json::array();
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const NameListEntry& entry = list.entries[i];
        entries.push_back({{"index", i},
                           {"name", nameJson(entry.name)},
                           {"address", entry.address()},
                           {"position", list.positionOf(entry)}});
    }
    return {{"base", list.baseOffset}, {"entries", std::move(entries)}};
}

} // namespace

void addListEntriesVerb(CLI::App& app, CliContext& context, const char* verb, ListKind kind,
                        const char* description) {
    app.add_subcommand(verb, description)->callback([&context, kind] {
        context.print(listJson(loadNameList(context.listFolders(), kind)));
    });
}

} // namespace starfall::cli
