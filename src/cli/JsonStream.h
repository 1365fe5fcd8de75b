#pragma once

// A JSON document written a value at a time, byte for byte as
// CliContext::print writes the same document whole (two-space indents, bytes
// that are not UTF-8 as U+FFFD), so that a command with a large output holds
// one record of it at a time. The caller gives an object's keys in sorted
// order, as the whole document would print them.

#include <nlohmann/json.hpp>

#include <charconv>
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
// Appends a whole number as printing the whole document prints it.
template <typename Number> void appendJsonNumber(std::string& out, Number number) {
    char digits[24];
    const auto printed = std::to_chars(std::begin(digits), std::end(digits), number);
    out.append(digits, printed.ptr);
}

class JsonStream {
public:
    explicit JsonStream(std::ostream& out) : m_out(out) {}
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
    void value(const nlohmann::json& value);
    // A value already printed as printing it alone prints it (two-space
    // indents from column 0).
    void printed(std::string_view text);
    // The same, with its inner lines already indented for where it lands
    // (indent() spaces more than printing it alone).
    void printedIndented(std::string_view text);
    [[nodiscard]] std::size_t indent() const;
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

    std::ostream& m_out;
    std::string m_text; // written out a large piece at a time
    std::vector<Level> m_levels;
    bool m_afterKey = false;
};

} // namespace starfall::cli
