#pragma once

// A JSON document written a value at a time, byte for byte as
// CliContext::print writes the same document whole (two-space indents, bytes
// that are not UTF-8 as U+FFFD), so that a command with a large output holds
// one record of it at a time. The caller gives an object's keys in sorted
// order, as the whole document would print them.

#include "cli/TextBuffer.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

// Appends a string as a JSON string, quoted and escaped as printing the whole
// document prints it (bytes that are not UTF-8 as U+FFFD); for values printed
// many times over.
void appendJsonString(std::string& out, std::string_view text);
void appendJsonString(TextBuffer& out, std::string_view text);
// Whether appendJsonString prints `utf8`, known to be UTF-8, between its
// quotes as it is: nothing in it needs an escape.
[[nodiscard]] bool printsAsIs(std::string_view utf8);
// Appends a whole number as printing the whole document prints it.
template <typename Out, typename Number> void appendJsonNumber(Out& out, Number number) {
    // Longer than any number (21 bytes): the compiler checks copyText's
    // fixed-width moves against every size up to the array's own.
    char digits[48];
    const auto printed = std::to_chars(std::begin(digits), std::end(digits), number);
    out.append(digits, static_cast<std::size_t>(printed.ptr - digits));
}

// A text as appendJsonString prints it, worked out once for a text printed
// many times over.
struct PrintedText {
    std::string_view json;
};

// A value to print that views what it is made from: a whole number, a text
// (UTF-8 or not, or already printed) or null, printed without a JSON value of
// its own, or any JSON value.
class PrintValue {
public:
    PrintValue(std::nullptr_t) {}
    PrintValue(std::int64_t number) : m_kind(Kind::Number), m_number(number) {}
    PrintValue(std::string_view text) : m_kind(Kind::Text), m_text(text) {}
    PrintValue(PrintedText text) : m_kind(Kind::Printed), m_text(text.json) {}
    PrintValue(const nlohmann::json& json) : m_kind(Kind::Json), m_json(&json) {}

    // The same value as a JSON value of its own.
    [[nodiscard]] nlohmann::json json() const;
    // Appends it as printing it alone prints it, its inner lines (of a list
    // or an object) indented by `indent` more spaces.
    void appendTo(TextBuffer& out, std::size_t indent) const;
    // The text of a value already printed, or nothing.
    [[nodiscard]] const std::string_view* printedText() const {
        return m_kind == Kind::Printed ? &m_text : nullptr;
    }

private:
    enum class Kind { Null, Number, Text, Printed, Json };
    Kind m_kind = Kind::Null;
    std::int64_t m_number = 0;
    std::string_view m_text;
    const nlohmann::json* m_json = nullptr;
};

class JsonStream {
public:
    static constexpr std::size_t kIndent = 2; // spaces per level

    explicit JsonStream(std::ostream& out);
    // A stream that keeps its text for takeText(), for a piece printed many
    // times over: it starts `depth` containers deep, just after a key.
    explicit JsonStream(std::size_t depth);
    JsonStream(const JsonStream&) = delete;
    JsonStream& operator=(const JsonStream&) = delete;
    // Writes out what is still held.
    ~JsonStream();

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    // The name of the next value in the object being written.
    void key(std::string_view name);
    // A whole value: a record, a number, anything.
    void value(const PrintValue& value);
    // A value already printed as printing it alone prints it (two-space
    // indents from column 0).
    void printed(std::string_view text);
    // The same, with its inner lines already indented for where it lands
    // (indent() spaces more than printing it alone).
    void printedIndented(std::string_view text);
    [[nodiscard]] std::size_t indent() const;
    // How many containers are open.
    [[nodiscard]] std::size_t depth() const { return m_levels.size(); }

    // What comes before a value in the container being written (a comma, a
    // new line, its indent), for a value then given as placedAfter() and raw()
    // text; the value may be an object or a list, given whole.
    void beginPlaced() { startValue(); }
    // Text already printed for where it lands.
    void raw(std::string_view text);
    // Text already printed for where it lands, then a value printed at
    // `depth` (its inner lines indented to there). One call per value of a
    // record: the record is written out whole once it ends (raw).
    void placedAfter(std::string_view before, const PrintValue& value, std::size_t depth) {
        m_text.append(before);
        if (const std::string_view* text = value.printedText())
            m_text.append(*text);
        else
            value.appendTo(m_text, depth * kIndent);
    }
    // How much text is written and not yet written out.
    [[nodiscard]] std::size_t size() const { return m_text.size(); }
    // The text written so far and not yet written out, handed over.
    [[nodiscard]] std::string takeText();
    // The same text left in place, for as long as the stream is not written to.
    [[nodiscard]] std::string_view keptText() const { return m_text.view(); }
    // Empties a stream that keeps its text, to begin again `depth`
    // containers deep, just after a key: one stream for many pieces.
    void restart(std::size_t depth);
    // Ends the document with the line feed print ends it with.
    void finish();

private:
    struct Level {
        char close;
        bool empty = true;
    };
    void open(char bracket);
    void close(char bracket);
    // Before a value: a comma after its elder sibling, and the indent of an
    // array element (an object member's comes before its key).
    void startValue();
    void newLine(std::size_t depth);
    void appendString(std::string_view text);
    void flushIfFull();
    void flush();

    std::ostream* m_out; // none: the text is kept
    TextBuffer m_text;   // written out a large piece at a time
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

} // namespace starfall::cli
