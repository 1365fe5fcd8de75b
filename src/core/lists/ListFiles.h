#pragma once

#include <string_view>

namespace starfall {

enum class ListKind { Pilots, Units };

[[nodiscard]] constexpr std::string_view listFileName(ListKind kind) {
    return kind == ListKind::Pilots ? "charlist.ini" : "unitlist.ini";
}

inline constexpr std::string_view kWeaponNamesFile = "weapon.ini";

} // namespace starfall
