#include "cli/JsonStream.h"

#include <array>
#include <ostream>
#include <string>

namespace starfall::cli {

namespace {

constexpr std::size_t kIndent = 2;
constexpr std::size_t kFlushBytes = 64 * 1024;

std::string dumped(const nlohmann::json& value) {
    return value.dump(static_cast<int>(kIndent), ' ', false,
                      nlohmann::json::error_handler_t::replace);
}

// The length of the UTF-8 sequence starting `text` at `at`, or 0 where the
// bytes are no well-formed UTF-8 (overlong forms, surrogates, past U+10FFFF).
std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const auto follows = [&](std::size_t i, unsigned char low, unsigned char high) {
        return at + i < text.size() && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return follows(1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return follows(1, low, high) && follows(2, 0x80, 0xBF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return follows(1, low, high) && follows(2, 0x80, 0xBF) && follows(3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

// Whether every byte belongs to a well-formed UTF-8 sequence; the library
// prints any other string with U+FFFD in place of the bad bytes.
bool isWellFormed(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8Length(text, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

} // namespace

JsonStream::~JsonStream() {
    flush();
}

void JsonStream::flush() {
    m_out.write(m_text.data(), static_cast<std::streamsize>(m_text.size()));
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

// Single values, the most of any document, are printed here as the library
// prints them, without its printer's set-up for each; the rest goes through
// it, its own lines one indent deeper per level the value is nested in.
void JsonStream::value(const nlohmann::json& value) {
    using Type = nlohmann::json::value_t;
    switch (value.type()) {
    case Type::number_integer:
        startValue();
        appendJsonNumber(m_text, value.get_ref<const nlohmann::json::number_integer_t&>());
        break;
    case Type::number_unsigned:
        startValue();
        appendJsonNumber(m_text, value.get_ref<const nlohmann::json::number_unsigned_t&>());
        break;
    case Type::boolean:
        startValue();
        m_text += value.get<bool>() ? "true" : "false";
        break;
    case Type::null:
        startValue();
        m_text += "null";
        break;
    case Type::string:
        startValue();
        appendString(value.get_ref<const std::string&>());
        break;
    default:
        printed(dumped(value));
        return;
    }
    flushIfFull();
}

void JsonStream::printed(std::string_view text) {
    startValue();
    const std::size_t indent = m_levels.size() * kIndent;
    std::size_t from = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', from)) {
        m_text.append(text.substr(from, at + 1 - from));
        m_text.append(indent, ' ');
        from = at + 1;
    }
    m_text.append(text.substr(from));
    flushIfFull();
}

void JsonStream::printedIndented(std::string_view text) {
    startValue();
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

void appendJsonString(std::string& out, std::string_view text) {
    if (!isWellFormed(text)) {
        out += dumped(nlohmann::json(text));
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t from = 0;
    static constexpr auto kPlain = [] {
        std::array<bool, 256> plain{};
        for (std::size_t c = 0x20; c < plain.size(); ++c)
            plain[c] = c != '"' && c != '\\';
        return plain;
    }();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (kPlain[c])
            continue;
        out.append(text.substr(from, i - from));
        from = i + 1;
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

} // namespace starfall::cli
