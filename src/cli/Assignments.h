#pragma once

// The KEY=VALUE arguments of the `set` commands and the JSON form of list
// choices, shared by every record command.

#include "image/ListChoice.h"

#include <nlohmann/json.hpp>

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace starfall::cli {

// In argument order; a malformed pair or a key given twice is a UsageError.
[[nodiscard]] std::vector<std::pair<std::string, std::string>>
parseAssignments(const std::vector<std::string>& arguments);

// An item's exact text, null for no selection, or the stored code as a number.
[[nodiscard]] nlohmann::json choiceJson(const ListChoice& choice,
                                        std::span<const std::string_view> items);

// The item whose text equals `value` exactly; a UsageError for anything else.
[[nodiscard]] ListChoice itemNamed(std::string_view key, std::string_view value,
                                   std::span<const std::string_view> items);

// For PREFIX, SEPARATOR, then N from 1 to `count`: N - 1; nothing for any
// other key.
[[nodiscard]] std::optional<std::size_t> numberedKey(std::string_view key, std::string_view prefix,
                                                     std::size_t count,
                                                     std::string_view separator = ".");

// Throws UsageError("unknown key ...").
[[noreturn]] void unknownKey(std::string_view key);
// For a key that `get` prints but the record does not store (a name, a position).
[[noreturn]] void fixedKey(std::string_view key);

} // namespace starfall::cli
