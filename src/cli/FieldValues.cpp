#include "cli/FieldValues.h"

#include "cli/CliContext.h"
#include "core/codec/TextNumbers.h"

#include <algorithm>
#include <charconv>

namespace starfall::cli {

namespace {

std::optional<std::int64_t> decimalInteger(std::string_view text) {
    if (text.starts_with('+'))
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string rangeText(const FieldShape& shape) {
    if (shape.kind == FieldKind::Number)
        return "a whole number from " + std::to_string(shape.range.min) + " to " +
               std::to_string(shape.range.max);
    return "an item's exact text or a stored code from 0 to " + std::to_string(shape.maxCode);
}

[[noreturn]] void refuse(std::string_view where, const FieldShape& shape, const std::string& got) {
    throw UsageError("'" + std::string(where) + "' takes " + rangeText(shape) + ", not " + got);
}

std::optional<std::size_t> itemIndex(const FieldShape& shape, std::string_view text) {
    const auto found = std::find(shape.items.begin(), shape.items.end(), text);
    if (found == shape.items.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - shape.items.begin());
}

ListChoice choiceOfCode(const FieldShape& shape, int code) {
    const auto found = std::find(shape.codes.begin(), shape.codes.end(), code);
    if (found != shape.codes.end())
        return ListChoice::item(static_cast<int>(found - shape.codes.begin()));
    return ListChoice::unlisted(code);
}

FieldValue numberValue(const FieldShape& shape, const nlohmann::json& value, ValueRule rule,
                       std::string_view where) {
    if (rule == ValueRule::AsTyped && value.is_string())
        return value.get<std::string>();
    if (!value.is_number_integer())
        refuse(where, shape, value.dump());
    const auto number = value.get<std::int64_t>();
    if (rule == ValueRule::Checked && (number < shape.range.min || number > shape.range.max))
        refuse(where, shape, value.dump());
    return std::to_string(number);
}

FieldValue choiceValue(const FieldShape& shape, const nlohmann::json& value,
                       std::string_view where) {
    if (value.is_string()) {
        if (const auto index = itemIndex(shape, value.get<std::string>()))
            return ListChoice::item(static_cast<int>(*index));
    } else if (value.is_number_integer()) {
        const auto code = value.get<std::int64_t>();
        if (code >= 0 && code <= shape.maxCode)
            return choiceOfCode(shape, static_cast<int>(code));
    }
    refuse(where, shape, value.dump());
}

} // namespace

nlohmann::json valueJson(const FieldShape& shape, const FieldValue& value,
                         std::optional<int> storedCode, bool loaded) {
    return valuePrinted(shape, value, storedCode, loaded).json();
}

PrintValue valuePrinted(const FieldShape& shape, const FieldValue& value,
                        std::optional<int> storedCode, bool loaded) {
    if (shape.kind == FieldKind::Number)
        return std::int64_t{parseDecimal(std::get<std::string>(value))};
    if (loaded && storedCode) {
        const auto own = std::find(shape.codes.begin(), shape.codes.end(), *storedCode);
        if (own == shape.codes.end())
            return std::int64_t{*storedCode};
        return shape.items[static_cast<std::size_t>(own - shape.codes.begin())];
    }
    const ListChoice& choice = std::get<ListChoice>(value);
    if (const auto index = choice.index())
        return shape.items[static_cast<std::size_t>(*index)];
    if (const auto code = choice.unlistedCode())
        return std::int64_t{*code};
    return nullptr;
}

nlohmann::json argumentJson(const FieldShape& shape, std::string_view text, ValueRule rule) {
    if (shape.kind == FieldKind::Number) {
        if (const auto number = decimalInteger(text))
            return *number;
        if (rule == ValueRule::AsTyped)
            return std::string(text);
        refuse(shape.key, shape, "'" + std::string(text) + "'");
    }
    if (itemIndex(shape, text))
        return std::string(text);
    if (const auto code = decimalInteger(text.starts_with('#') ? text.substr(1) : text))
        return *code;
    refuse(shape.key, shape, "'" + std::string(text) + "'");
}

FieldValue fieldValueOf(const FieldShape& shape, const nlohmann::json& value, ValueRule rule,
                        std::string_view where) {
    return shape.kind == FieldKind::Number ? numberValue(shape, value, rule, where)
                                           : choiceValue(shape, value, where);
}

} // namespace starfall::cli
