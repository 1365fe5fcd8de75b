#include "cli/Assignments.h"
#include "cli/CliContext.h"
#include "cli/RecordSetters.h"

#include "image/TextNumbers.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace starfall::cli {

namespace {

std::optional<std::size_t> upgradeRow(std::string_view key) {
    const auto* found = std::find_if(kUpgradeRows.begin(), kUpgradeRows.end(),
                                     [key](const UpgradeRowInfo& row) { return row.key == key; });
    if (found == kUpgradeRows.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - kUpgradeRows.begin());
}

using UpgradeRowValues = std::array<std::int64_t, kUpgradeStageCount>;

std::vector<std::string_view> splitAtCommas(std::string_view list) {
    std::vector<std::string_view> parts;
    for (std::size_t comma = list.find(','); comma != std::string_view::npos;
         comma = list.find(',')) {
        parts.push_back(list.substr(0, comma));
        list.remove_prefix(comma + 1);
    }
    parts.push_back(list);
    return parts;
}

// All ten stages or none: a short or long list is refused whole.
UpgradeRowValues rowValues(const std::string& key, std::string_view list) {
    const std::vector<std::string_view> parts = splitAtCommas(list);
    UpgradeRowValues values{};
    if (parts.size() != values.size()) {
        throw UsageError("key '" + key + "': give " + std::to_string(values.size()) +
                         " comma-separated values, one per stage, not " +
                         std::to_string(parts.size()));
    }
    std::transform(parts.begin(), parts.end(), values.begin(),
                   [](std::string_view part) -> std::int64_t { return parseDecimal(part); });
    return values;
}

} // namespace

void setUpgradeField(UpgradeTable& table, const std::string& key, const std::string& value) {
    const std::size_t dot = key.find('.');
    const auto row = upgradeRow(std::string_view(key).substr(0, dot));
    if (!row)
        unknownKey(key);
    if (dot == std::string::npos) {
        table.values[*row] = rowValues(key, value);
        return;
    }
    const auto stage = numberedKey(key, kUpgradeRows[*row].key, kUpgradeStageCount);
    if (!stage)
        unknownKey(key);
    table.values[*row][*stage] = parseDecimal(value);
}

} // namespace starfall::cli
