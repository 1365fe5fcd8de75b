#pragma once

// weapon.ini: the names shown for weapon numbers, section "WEAPON_NAME".
// Read by the usual profile-file rules: section and
// key names ignore letter case, blanks around keys and values are trimmed,
// matching outer quotes are removed, values stop at 9999 characters, the
// first section and first key of a name win, ';' starts a comment only at a
// line's start, and text after ']' is ignored. Value bytes pass through.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace starfall {

class WeaponIni {
public:
    [[nodiscard]] static WeaponIni parse(std::string_view text);
    // A missing file, or anything that is not a regular file, is no error: every lookup then finds
    // nothing.
    [[nodiscard]] static WeaponIni load(const std::string& path);

    // The non-empty value of `key`, if any.
    [[nodiscard]] std::optional<std::string> find(std::string_view key) const;

private:
    std::map<std::string, std::string> m_values; // keys in lower case
};

} // namespace starfall
