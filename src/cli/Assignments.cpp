#include "cli/Assignments.h"

#include "cli/CliContext.h"

#include <charconv>
#include <set>

namespace starfall::cli {

std::vector<std::pair<std::string, std::string>>
parseAssignments(const std::vector<std::string>& arguments) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::set<std::string> seen;
    for (const std::string& argument : arguments) {
        const auto equals = argument.find('=');
        if (equals == std::string::npos || equals == 0)
            throw UsageError("expected KEY=VALUE, got '" + argument + "'");
        std::string key = argument.substr(0, equals);
        if (!seen.insert(key).second)
            throw UsageError("key '" + key + "' given twice");
        pairs.emplace_back(std::move(key), argument.substr(equals + 1));
    }
    if (pairs.empty())
        throw UsageError("nothing to set: give KEY=VALUE pairs");
    return pairs;
}

nlohmann::json choiceJson(const ListChoice& choice, std::span<const std::string_view> items) {
    if (const auto index = choice.index();
        index && *index >= 0 && static_cast<std::size_t>(*index) < items.size())
        return std::string(items[static_cast<std::size_t>(*index)]);
    if (const auto code = choice.unlistedCode())
        return *code;
    return nullptr;
}

ListChoice itemNamed(std::string_view key, std::string_view value,
                     std::span<const std::string_view> items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == value)
            return ListChoice::item(static_cast<int>(i));
    }
    throw UsageError("'" + std::string(value) + "' is no item of " + std::string(key));
}

std::optional<std::size_t> numberedKey(std::string_view key, std::string_view prefix,
                                       std::size_t count, std::string_view separator) {
    const std::size_t head = prefix.size() + separator.size();
    if (key.size() <= head || !key.starts_with(prefix) || key.substr(prefix.size(), separator.size()) != separator)
        return std::nullopt;
    const std::string_view digits = key.substr(head);
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number == 0 ||
        number > count)
        return std::nullopt;
    return number - 1;
}

void unknownKey(std::string_view key) {
    throw UsageError("unknown key '" + std::string(key) + "'");
}

void fixedKey(std::string_view key) {
    throw UsageError("key '" + std::string(key) +
                     "' is not stored in the record and cannot be set");
}

} // namespace starfall::cli
