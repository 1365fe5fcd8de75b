#include "core/weapon/WeaponIni.h"

#include "core/io/FileHandle.h"

#include <algorithm>
#include <sstream>

namespace starfall {

namespace {

constexpr std::string_view kSection = "weapon_name";
constexpr std::size_t kValueLimit = 9999;

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return out;
}

std::string unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kValueLimit));
}

} // namespace

WeaponIni WeaponIni::parse(std::string_view text) {
    WeaponIni ini;
    enum class Where { Before, Inside, After } where = Where::Before;
    std::istringstream lines{std::string(text)};
    std::string raw;
    while (std::getline(lines, raw)) {
        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            const std::string name = lower(trim(
                line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1)));
            if (where == Where::Inside)
                where = Where::After; // only the first section of the name counts
            else if (where == Where::Before && name == kSection)
                where = Where::Inside;
            continue;
        }
        const auto equals = line.find('=');
        if (where != Where::Inside || equals == std::string_view::npos)
            continue;
        ini.m_values.try_emplace(lower(trim(line.substr(0, equals))),
                                 unquote(trim(line.substr(equals + 1))));
    }
    return ini;
}

WeaponIni WeaponIni::load(const std::string& path) {
    const auto text = readRegularFile(path);
    return text ? parse(*text) : WeaponIni{};
}

std::optional<std::string> WeaponIni::find(std::string_view key) const {
    const auto found = m_values.find(lower(trim(key)));
    if (found == m_values.end() || found->second.empty())
        return std::nullopt;
    return found->second;
}

} // namespace starfall
