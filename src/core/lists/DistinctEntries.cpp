#include "core/lists/DistinctEntries.h"

#include <functional>
#include <string_view>
#include <unordered_map>

namespace starfall {

namespace {

struct EntryKey {
    std::string_view name;
    std::string_view addressText;
    bool operator==(const EntryKey&) const = default;
};

struct EntryKeyHash {
    std::size_t operator()(const EntryKey& key) const {
        const std::size_t name = std::hash<std::string_view>{}(key.name);
        return name ^ (std::hash<std::string_view>{}(key.addressText) + 0x9e3779b97f4a7c15ULL +
                       (name << 6) + (name >> 2));
    }
};

} // namespace

std::vector<std::size_t> firstRowsOfEntries(const NameList& list) {
    std::unordered_map<EntryKey, std::size_t, EntryKeyHash> firstRows;
    std::vector<std::size_t> rows;
    rows.reserve(list.entries.size());
    for (std::size_t row = 0; row < list.entries.size(); ++row) {
        const NameListEntry& entry = list.entries[row];
        rows.push_back(firstRows.try_emplace({entry.name, entry.addressText}, row).first->second);
    }
    return rows;
}

} // namespace starfall
