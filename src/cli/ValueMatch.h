#pragma once

// Whether a JSON value is the one `valueJson` makes of a field, told without
// making it: import checks every value of every record against the record
// as read, and most are plain numbers and item texts that are the same.

#include "cli/FieldValues.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace starfall::cli {

// valueJson(shape, value, storedCode, loaded) == json, by nlohmann's ==.
[[nodiscard]] bool valueJsonEquals(const FieldShape& shape, const FieldValue& value,
                                   std::optional<int> storedCode, bool loaded,
                                   const nlohmann::json& json);

} // namespace starfall::cli
