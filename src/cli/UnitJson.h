#pragma once

// The JSON form of units, their weapon lists, weapons and the upgrade table,
// as `unit get`, `weapons`, `weapon get` and `upgrade get` print them.

#include "lists/NameList.h"
#include "unit/UnitRecord.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>

namespace starfall::cli {

[[nodiscard]] nlohmann::json unitJson(const std::string& image, const NameList& units,
                                      std::size_t index);
// With names from weapon.ini in `directory`.
[[nodiscard]] nlohmann::json weaponListJson(const std::string& image, const NameList& units,
                                            std::size_t index, const std::string& directory);
[[nodiscard]] nlohmann::json weaponJson(const std::string& image, int number);
[[nodiscard]] nlohmann::json upgradeJson(const std::string& image);

} // namespace starfall::cli
