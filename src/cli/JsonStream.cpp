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
    m_text += dumped(nlohmann::json(name));
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

// The value's own lines go one indent deeper per level it is nested in.
void JsonStream::value(const nlohmann::json& value) {
    printed(dumped(value));
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

void appendJsonString(std::string& out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    std::size_t from = 0;
    static constexpr auto kPlain = [] {
        std::array<bool, 256> plain{};
        for (std::size_t c = 0x20; c < plain.size(); ++c)
            plain[c] = c != '"' && c != '\\';
        return plain;
    }();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (kPlain[c])
            continue;
        out.append(utf8.substr(from, i - from));
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
    out.append(utf8.substr(from));
    out += '"';
}

} // namespace starfall::cli
