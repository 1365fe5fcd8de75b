#include "cli/ListEntriesVerb.h"

#include "cli/CliContext.h"
#include "cli/JsonStream.h"
#include "cli/TextBuffer.h"

#include "core/codec/Cp949.h"
#include "core/lists/NameListReader.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
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

// The most bytes a number of the entry takes printed.
constexpr std::size_t kNumberBytes = 24;

char* printNumber(char* at, std::int64_t number) {
    return std::to_chars(at, at + kNumberBytes, number).ptr;
}

char* printText(char* at, std::string_view text) {
    copyText(at, text.data(), text.size());
    return at + text.size();
}

// A batch of entries as printing {"address", "index", "name", "position"}
// gives each, already indented for its place and joined as the entries
// array joins them: a list of 100,000 entries spent nearly all its time
// building, printing and freeing the objects, then appending piece by piece.
class EntryText {
public:
    explicit EntryText(std::size_t indent)
        : m_first(member(indent, "{", "address")),
          m_next("\n" + std::string(indent, ' ') + "},\n" + std::string(indent, ' ') + m_first),
          m_index(member(indent, ",", "index")), m_name(member(indent, ",", "name")),
          m_position(member(indent, ",", "position")), m_end("\n" + std::string(indent, ' ') + "}") {}

    // Entries [first, first + names.size()) of `list`, printed into the
    // front of `text`, which only grows from batch to batch.
    [[nodiscard]] std::string_view print(std::string& text, const NameList& list,
                                         std::size_t first, const cp949::Utf8Texts& names) const {
        // An escape takes at most six bytes a byte ("\u001f").
        std::vector<bool> plain(names.size());
        std::size_t room = m_end.size();
        for (std::size_t i = 0; i < names.size(); ++i) {
            plain[i] = printsAsIs(names[i]); // decoded names are UTF-8
            room += names[i].size() * (plain[i] ? 1 : 6) + m_bytesBesideName;
        }
        if (text.size() < room)
            text.resize(room);
        char* at = text.data();
        for (std::size_t i = 0; i < names.size(); ++i)
            at = printEntry(at, i == 0 ? m_first : m_next, list, first + i, names[i], plain[i]);
        at = printText(at, m_end);
        return std::string_view(text.data(), static_cast<std::size_t>(at - text.data()));
    }

private:
    static std::string member(std::size_t indent, std::string_view before, std::string_view key) {
        return std::string(before) + "\n" + std::string(indent + 2, ' ') + "\"" + std::string(key) +
               "\": ";
    }

    char* printEntry(char* at, std::string_view opening, const NameList& list, std::size_t index,
                     std::string_view name, bool plain) const {
        const std::int32_t address = list.entries[index].address();
        at = printText(at, opening);
        at = printNumber(at, address);
        at = printText(at, m_index);
        at = printNumber(at, static_cast<std::int64_t>(index));
        at = printText(at, m_name);
        if (plain) {
            *at++ = '"';
            at = printText(at, name);
            *at++ = '"';
        } else {
            std::string escaped;
            appendJsonString(escaped, name);
            at = printText(at, escaped);
        }
        at = printText(at, m_position);
        return printNumber(at, Position{list.baseOffset} + address);
    }

    std::string m_first, m_next, m_index, m_name, m_position, m_end;
    std::size_t m_bytesBesideName = m_next.size() + m_index.size() + m_name.size() +
                                    m_position.size() + 2 + 3 * kNumberBytes;
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
    cp949::Utf8Texts decoded;
    std::string text;
    for (std::size_t first = 0; first < list.entries.size(); first += kNamesPerBatch) {
        const std::size_t end = std::min(list.entries.size(), first + kNamesPerBatch);
        names.clear();
        for (std::size_t i = first; i < end; ++i)
            names.push_back(list.entries[i].name);
        cp949::toUtf8Into(names, decoded);
        stream.printedIndented(entryText.print(text, list, first, decoded));
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
