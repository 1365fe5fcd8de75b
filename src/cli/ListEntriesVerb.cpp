#include "cli/ListEntriesVerb.h"

#include "cli/CliContext.h"
#include "cli/JsonStream.h"

#include "core/codec/Cp949.h"
#include "core/lists/NameListReader.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

namespace {

// Names are decoded this many at a time: one pass through the converter per
// batch, with memory that does not grow with the list.
constexpr std::size_t kNamesPerBatch = 4096;

// An entry as printing {"address", "index", "name", "position"} gives it,
// already indented for its place: a list of 100,000 entries spent nearly all
// its time building, printing and freeing the objects.
class EntryText {
public:
    explicit EntryText(std::size_t indent)
        : m_address(member(indent, "{", "address")), m_index(member(indent, ",", "index")),
          m_name(member(indent, ",", "name")), m_position(member(indent, ",", "position")),
          m_end("\n" + std::string(indent, ' ') + "}") {}

    void append(std::string& text, const NameList& list, std::size_t index,
                std::string_view name) const {
        const std::int32_t address = list.entries[index].address();
        text += m_address;
        appendJsonNumber(text, address);
        text += m_index;
        appendJsonNumber(text, static_cast<std::int64_t>(index));
        text += m_name;
        appendJsonString(text, name);
        text += m_position;
        appendJsonNumber(text, Position{list.baseOffset} + address);
        text += m_end;
    }

private:
    static std::string member(std::size_t indent, std::string_view before, std::string_view key) {
        return std::string(before) + "\n" + std::string(indent + 2, ' ') + "\"" + std::string(key) +
               "\": ";
    }

    std::string m_address, m_index, m_name, m_position, m_end;
};

} // namespace

void writeListEntries(const NameList& list, std::ostream& out) {
    JsonStream stream(out);
    stream.beginObject();
    stream.key("base");
    stream.value(list.baseOffset);
    stream.key("entries");
    stream.beginArray();
    const EntryText entryText(stream.indent());
    std::vector<std::string_view> names;
    std::string text;
    for (std::size_t first = 0; first < list.entries.size(); first += kNamesPerBatch) {
        const std::size_t end = std::min(list.entries.size(), first + kNamesPerBatch);
        names.clear();
        for (std::size_t i = first; i < end; ++i)
            names.push_back(list.entries[i].name);
        const std::vector<std::string> decoded = cp949::toUtf8Each(names);
        for (std::size_t i = first; i < end; ++i) {
            text.clear();
            entryText.append(text, list, i, decoded[i - first]);
            stream.printedIndented(text);
        }
    }
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
