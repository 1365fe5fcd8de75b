#include "cli/JsonStream.h"

#include "cli/Utf8Sequence.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string>
#include <utility>

namespace starfall::cli {

namespace {

// Each write into a file costs the system more than its bytes: a large
// export written 256 KiB at a time took 5% less CPU than 64 KiB at a time,
// and larger pieces gained little more.
constexpr std::size_t kFlushBytes = 256 * 1024;

std::string dumped(const nlohmann::json& value) {
    return value.dump(static_cast<int>(JsonStream::kIndent), ' ', false,
                      nlohmann::json::error_handler_t::replace);
}

} // namespace

// The whole handover is set aside at once: grown piece by piece, each larger
// buffer was copied into and touched fresh, and an export the size of the
// demo's faulted in twice the pages its text fills. Pages never written to
// are never faulted in.
JsonStream::JsonStream(std::ostream& out) : m_out(&out) {
    m_text.reserve(kFlushBytes);
}

JsonStream::JsonStream(std::size_t depth) : m_out(nullptr), m_levels(depth), m_afterKey(true) {}

void JsonStream::restart(std::size_t depth) {
    m_text.clear();
    m_levels.assign(depth, Level{});
    m_afterKey = true;
}

JsonStream::~JsonStream() {
    flush();
}

void JsonStream::flush() {
    if (m_out == nullptr)
        return;
    const std::string_view text = m_text.view();
    m_out->write(text.data(), static_cast<std::streamsize>(text.size()));
    m_text.clear();
}

// Hands the text over in large pieces: a stream's many small writes cost
// more than the text they write.
void JsonStream::flushIfFull() {
    if (m_text.size() >= kFlushBytes)
        flush();
}

void JsonStream::newLine(std::size_t depth) {
    m_text += '\n';
    m_text.append(depth * kIndent, ' ');
}

void JsonStream::startValue() {
    if (m_afterKey || m_levels.empty()) {
        m_afterKey = false;
        return;
    }
    Level& level = m_levels.back();
    if (!level.empty)
        m_text += ',';
    level.empty = false;
    newLine(m_levels.size());
}

void JsonStream::key(std::string_view name) {
    Level& level = m_levels.back();
    if (!level.empty)
        m_text += ',';
    level.empty = false;
    newLine(m_levels.size());
    appendString(name);
    m_text += ": ";
    m_afterKey = true;
}

void JsonStream::open(char bracket) {
    startValue();
    m_text += bracket;
    m_levels.push_back({bracket == '{' ? '}' : ']'});
}

void JsonStream::close(char bracket) {
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    if (!empty)
        newLine(m_levels.size());
    m_text += bracket;
    flushIfFull();
}

void JsonStream::appendString(std::string_view text) {
    appendJsonString(m_text, text);
}

void JsonStream::value(const PrintValue& value) {
    startValue();
    value.appendTo(m_text, indent());
    flushIfFull();
}

namespace {

// `text` with each line after the first indented by `indent` spaces more.
void appendIndented(TextBuffer& out, std::string_view text, std::size_t indent) {
    std::size_t from = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', from)) {
        out.append(text.substr(from, at + 1 - from));
        out.append(indent, ' ');
        from = at + 1;
    }
    out.append(text.substr(from));
}

} // namespace

void JsonStream::printed(std::string_view text) {
    startValue();
    appendIndented(m_text, text, m_levels.size() * kIndent);
    flushIfFull();
}

void JsonStream::raw(std::string_view text) {
    m_text.append(text);
    flushIfFull();
}

std::string JsonStream::takeText() {
    std::string text(m_text.view());
    m_text.clear();
    return text;
}

nlohmann::json PrintValue::json() const {
    switch (m_kind) {
    case Kind::Number:
        return m_number;
    case Kind::Text:
        return std::string(m_text);
    case Kind::Printed:
        return nlohmann::json::parse(m_text);
    case Kind::Json:
        return *m_json;
    case Kind::Null:
        break;
    }
    return nullptr;
}

// Single values, the most of any document, are printed here as the library
// prints them, without its printer's set-up for each; the rest goes through
// it, its own lines one indent deeper per level the value is nested in.
void PrintValue::appendTo(TextBuffer& out, std::size_t indent) const {
    switch (m_kind) {
    case Kind::Number:
        appendJsonNumber(out, m_number);
        return;
    case Kind::Text:
        appendJsonString(out, m_text);
        return;
    case Kind::Printed:
        out.append(m_text);
        return;
    case Kind::Null:
        out += "null";
        return;
    case Kind::Json:
        break;
    }
    using Type = nlohmann::json::value_t;
    switch (m_json->type()) {
    case Type::number_integer:
        appendJsonNumber(out, m_json->get_ref<const nlohmann::json::number_integer_t&>());
        break;
    case Type::number_unsigned:
        appendJsonNumber(out, m_json->get_ref<const nlohmann::json::number_unsigned_t&>());
        break;
    case Type::boolean:
        out += m_json->get<bool>() ? "true" : "false";
        break;
    case Type::null:
        out += "null";
        break;
    case Type::string:
        appendJsonString(out, m_json->get_ref<const std::string&>());
        break;
    default:
        appendIndented(out, dumped(*m_json), indent);
    }
}

void JsonStream::printedIndented(std::string_view text) {
    startValue();
    // A text as long as a whole handover goes to the stream as it is, not
    // copied through the buffer first (a list's batch of entries).
    if (m_out != nullptr && text.size() >= kFlushBytes) {
        flush();
        m_out->write(text.data(), static_cast<std::streamsize>(text.size()));
        return;
    }
    m_text.append(text);
    flushIfFull();
}

std::size_t JsonStream::indent() const {
    return m_levels.size() * kIndent;
}

void JsonStream::finish() {
    m_text += '\n';
    flush();
}

namespace {

// The ASCII characters a JSON string holds as they are.
constexpr auto kPlain = [] {
    std::array<bool, 128> plain{};
    for (std::size_t c = 0x20; c < plain.size(); ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

} // namespace

bool printsAsIs(std::string_view utf8) {
    return std::all_of(utf8.begin(), utf8.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || kPlain[byte];
    });
}

namespace {

void cut(std::string& text, std::size_t size) {
    text.resize(size);
}

void cut(TextBuffer& text, std::size_t size) {
    text.truncate(size);
}

// One pass over the text: plain runs are copied whole, UTF-8 sequences
// checked as they come; a text found not to be UTF-8 is printed again whole
// as the library prints it.
template <typename Out> void appendQuoted(Out& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const std::size_t start = out.size();
    out += '"';
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8Length(text, i);
            if (length == 0) {
                cut(out, start);
                out += dumped(nlohmann::json(text));
                return;
            }
            i += length;
            continue;
        }
        if (kPlain[c]) {
            ++i;
            continue;
        }
        out.append(text.substr(from, i - from));
        from = ++i;
        out += '\\';
        switch (c) {
        case '"':
        case '\\':
            out += static_cast<char>(c);
            break;
        case '\b':
            out += 'b';
            break;
        case '\f':
            out += 'f';
            break;
        case '\n':
            out += 'n';
            break;
        case '\r':
            out += 'r';
            break;
        case '\t':
            out += 't';
            break;
        default:
            out += "u00";
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    out.append(text.substr(from));
    out += '"';
}

} // namespace

void appendJsonString(std::string& out, std::string_view text) {
    appendQuoted(out, text);
}

void appendJsonString(TextBuffer& out, std::string_view text) {
    appendQuoted(out, text);
}

} // namespace starfall::cli
