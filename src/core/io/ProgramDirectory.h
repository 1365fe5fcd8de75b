#pragma once

#include <string>

namespace starfall {

// The folder of the running executable, ending with '/': where the list files
// and weapon.ini are looked for.
[[nodiscard]] std::string programDirectory();

// The folder part of a path, keeping its trailing separator ("" for none).
[[nodiscard]] std::string directoryOf(const std::string& path);

} // namespace starfall
