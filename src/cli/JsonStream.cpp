#include "cli/JsonStream.h"

#include <ostream>
#include <string>

namespace starfall::cli {

namespace {

constexpr std::size_t kIndent = 2;

std::string dumped(const nlohmann::json& value) {
    return value.dump(static_cast<int>(kIndent), ' ', false,
                      nlohmann::json::error_handler_t::replace);
}

} // namespace

void JsonStream::newLine(std::size_t depth) {
    m_out << '\n' << std::string(depth * kIndent, ' ');
}

void JsonStream::startValue() {
    if (m_afterKey || m_levels.empty()) {
        m_afterKey = false;
        return;
    }
    Level& level = m_levels.back();
    if (!level.empty)
        m_out << ',';
    level.empty = false;
    newLine(m_levels.size());
}

void JsonStream::key(std::string_view name) {
    Level& level = m_levels.back();
    if (!level.empty)
        m_out << ',';
    level.empty = false;
    newLine(m_levels.size());
    m_out << dumped(nlohmann::json(name)) << ": ";
    m_afterKey = true;
}

void JsonStream::open(char bracket) {
    startValue();
    m_out << bracket;
    m_levels.push_back({bracket == '{' ? '}' : ']'});
}

void JsonStream::close(char bracket) {
    const bool empty = m_levels.back().empty;
    m_levels.pop_back();
    if (!empty)
        newLine(m_levels.size());
    m_out << bracket;
}

// The value's own lines go one indent deeper per level it is nested in.
void JsonStream::value(const nlohmann::json& value) {
    startValue();
    const std::string text = dumped(value);
    const std::string indent(m_levels.size() * kIndent, ' ');
    std::size_t from = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', from)) {
        m_out.write(text.data() + from, static_cast<std::streamsize>(at + 1 - from));
        m_out << indent;
        from = at + 1;
    }
    m_out.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
}

void JsonStream::finish() {
    m_out << '\n';
}

} // namespace starfall::cli
