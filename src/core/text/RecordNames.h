#pragma once

// How texts name records (UTF-8): what a save names when it refuses to write,
// and the name a weapon has when weapon.ini gives it none. Names are passed
// as the list holds them (code page 949).

#include <string>
#include <string_view>

namespace starfall::messages {

[[nodiscard]] std::string pilotRecordLabel(std::string_view nameCp949);
[[nodiscard]] std::string skillTableLabel(std::string_view nameCp949);
[[nodiscard]] std::string upgradeTableLabel();
[[nodiscard]] std::string unitRecordLabel(std::string_view nameCp949);
[[nodiscard]] std::string weaponRecordLabel(int number);
// An import saves several records at once; a patch writes whatever it holds.
[[nodiscard]] std::string importLabel();
[[nodiscard]] std::string patchLabel(std::string_view patchPath);

[[nodiscard]] std::string defaultWeaponName(int number);

} // namespace starfall::messages
