#pragma once

// How the command line spells field values: every field's JSON value as
// `get` prints it, and the values `set` and `import` accept back. Numbers are
// checked against the field's range unless taken as typed into the editor's
// box; a list field takes an item's exact text or the stored code.

#include "cli/JsonStream.h"
#include "core/record/FieldTable.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace starfall::cli {

enum class ValueRule {
    Checked, // a decimal integer within the field's range
    AsTyped, // any text, converted as the editor's box converts it
};

// What a value is for: its key, kind, range, items with their codes, and the
// widest code its bits can hold.
struct FieldShape {
    std::string_view key;
    FieldKind kind = FieldKind::Number;
    NumberRange range;
    std::span<const std::string_view> items;
    std::span<const int> codes;
    int maxCode = 0;
};

template <typename Record> [[nodiscard]] FieldShape shapeOf(const Field<Record>& field) {
    int maxCode = 0;
    if (field.kind == FieldKind::Choice) {
        std::uint8_t mask = field.bits.front().mask;
        while ((mask & 1) == 0)
            mask >>= 1;
        maxCode = mask;
    }
    return {field.key, field.kind, field.range, field.items, field.codes, maxCode};
}

// The JSON of a value as read: a number; for a list, the item's text when the
// stored code is the item's own code, else the stored code. Past the end of
// the image a list shows what the editor shows there: an item, or null.
[[nodiscard]] nlohmann::json valueJson(const FieldShape& shape, const FieldValue& value,
                                       std::optional<int> storedCode, bool loaded);
// The same value to print, without a JSON value of its own (an item's text
// views the shape's).
[[nodiscard]] PrintValue valuePrinted(const FieldShape& shape, const FieldValue& value,
                                      std::optional<int> storedCode, bool loaded);

// A command-line VALUE as JSON: a number field's integer (or, as typed, its
// text); a list field's item text, or the stored code as "#N" or N. Throws
// UsageError naming the key and what it takes.
[[nodiscard]] nlohmann::json argumentJson(const FieldShape& shape, std::string_view text,
                                          ValueRule rule);

// The value a JSON value stands for; throws UsageError naming `where` (a key
// or a JSON path) and what the field takes.
[[nodiscard]] FieldValue fieldValueOf(const FieldShape& shape, const nlohmann::json& value,
                                      ValueRule rule, std::string_view where);

} // namespace starfall::cli
