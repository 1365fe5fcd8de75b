#include "cli/ListEntriesVerb.h"

#include "cli/CliContext.h"
#include "cli/JsonStream.h"

#include "core/lists/NameListReader.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

namespace starfall::cli {

namespace {

// An entry as printing {"address", "index", "name", "position"} gives it,
// without building the object: a list of 100,000 entries spent nearly all
// its time building and freeing them.
std::string entryText(const NameList& list, std::size_t index) {
    const NameListEntry& entry = list.entries[index];
    std::string text = "{\n  \"address\": " + std::to_string(entry.address());
    text += ",\n  \"index\": " + std::to_string(index);
    text += ",\n  \"name\": " + nameJson(entry.name).dump(-1, ' ', false,
                                                          nlohmann::json::error_handler_t::replace);
    text += ",\n  \"position\": " + std::to_string(list.positionOf(entry));
    text += "\n}";
    return text;
}

} // namespace

void writeListEntries(const NameList& list, std::ostream& out) {
    JsonStream stream(out);
    stream.beginObject();
    stream.key("base");
    stream.value(list.baseOffset);
    stream.key("entries");
    stream.beginArray();
    for (std::size_t i = 0; i < list.entries.size(); ++i)
        stream.printed(entryText(list, i));
    stream.endArray();
    stream.endObject();
    stream.finish();
}

void addListEntriesVerb(CLI::App& app, CliContext& context, const char* verb, ListKind kind,
                        const char* description) {
    app.add_subcommand(verb, description)->callback([&context, kind] {
        writeListEntries(loadNameList(context.listFolders(), kind), *context.out);
    });
}

} // namespace starfall::cli
