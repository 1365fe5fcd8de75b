#pragma once

// `export`: every record the editor can open, each as its `get` prints it.

#include <nlohmann/json.hpp>

#include <string>

namespace starfall::cli {

// {"units", "pilots", "skills", "weapons", "upgrade"} of `image`, with the list
// files of `directory` (which ends with its separator).
[[nodiscard]] nlohmann::json exportJson(const std::string& image, const std::string& directory);

} // namespace starfall::cli
