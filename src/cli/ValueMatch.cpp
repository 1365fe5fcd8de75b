#include "cli/ValueMatch.h"

#include "core/codec/TextNumbers.h"

#include <algorithm>
#include <cstdint>

namespace starfall::cli {

namespace {

// An integer as nlohmann compares one with a JSON integer: an unsigned one
// by its bits taken as signed.
bool sameInteger(std::int64_t number, const nlohmann::json& json) {
    if (json.is_number_unsigned())
        return static_cast<std::int64_t>(json.get<std::uint64_t>()) == number;
    return json.get<std::int64_t>() == number;
}

} // namespace

bool valueJsonEquals(const FieldShape& shape, const FieldValue& value,
                     std::optional<int> storedCode, bool loaded, const nlohmann::json& json) {
    if (shape.kind == FieldKind::Number && json.is_number_integer())
        return sameInteger(parseDecimal(std::get<std::string>(value)), json);
    if (shape.kind != FieldKind::Number && loaded && storedCode) {
        const auto own = std::find(shape.codes.begin(), shape.codes.end(), *storedCode);
        if (own != shape.codes.end())
            return json.is_string() &&
                   json.get_ref<const std::string&>() ==
                       shape.items[static_cast<std::size_t>(own - shape.codes.begin())];
        if (json.is_number_integer())
            return sameInteger(*storedCode, json);
    }
    return valueJson(shape, value, storedCode, loaded) == json;
}

} // namespace starfall::cli
