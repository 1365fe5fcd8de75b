#pragma once

// Values under dotted keys (numeric parts counting list positions from 1, as
// setAtPath reads them), written as the one nested object setAtPath would
// build from them, straight to a JsonStream: a record's hundred values cost
// no tree of their own.

#include "cli/JsonStream.h"

#include <nlohmann/json.hpp>

#include <span>
#include <string_view>

namespace starfall::cli {

struct DottedValue {
    std::string_view key;
    nlohmann::json value;
};

// Writes the object and returns true, or writes nothing and returns false
// when the keys do not make a plain tree: a key given twice, a key inside
// another's value, parts of one object both names and positions, a list
// with a position left out, or a position at the top. Sorts `values`.
[[nodiscard]] bool writeNested(JsonStream& out, std::span<DottedValue> values);

} // namespace starfall::cli
