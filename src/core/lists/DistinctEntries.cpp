#include "core/lists/DistinctEntries.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace starfall {

namespace {

struct EntryKey {
    std::string_view name;
    std::string_view addressText;
    bool operator==(const EntryKey&) const = default;
};

// FNV-1a over both texts, a separator between them: one short pass over the
// few bytes of a list line.
struct EntryKeyHash {
    std::size_t operator()(const EntryKey& key) const {
        std::uint64_t hash = 0xcbf29ce484222325ULL;
        const auto mix = [&hash](std::string_view text) {
            for (const char c : text)
                hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
        };
        mix(key.name);
        hash = (hash ^ 0x100) * 0x100000001b3ULL; // no byte: "AB","C" and "A","BC" differ
        mix(key.addressText);
        return static_cast<std::size_t>(hash);
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
