#pragma once

// The bytes of the listed records an export has read, by what their places
// are made from: which list (and its base offset), the entry's name and
// address. An image
// holds a few thousand records, so a list of tens of thousands of entries
// names each of them many times; each is then placed and read once. Only
// for a command that writes nothing while it reads.

#include "core/io/ImageAccess.h"
#include "core/lists/NameList.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace starfall::cli {

class KeptRecordBytes {
public:
    // Which list an entry is of: the same entry places a pilot and its skill
    // table apart.
    enum class List : char { Units = 'u', Pilots = 'p', SkillTables = 's' };

    // The bytes at `positions()` of `image`, read the first time the entry
    // is met (kEndOfFile past the end of the image). Valid until the next call.
    template <typename Positions>
    [[nodiscard]] const std::vector<int>& bytes(const std::string& image, List list,
                                                const NameList& names, const NameListEntry& entry,
                                                const Positions& positions) {
        makeKey(list, names.baseOffset, entry);
        if (const auto found = m_kept.find(std::string_view(m_key)); found != m_kept.end())
            return found->second;
        std::vector<int> read;
        readBytes(image, positions(), read);
        if (m_kept.size() == kKept) // bounds the memory whatever the list's length
            m_kept.clear();
        return m_kept.emplace(m_key, std::move(read)).first->second;
    }

private:
    static constexpr std::size_t kKept = 4096;

    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };

    template <typename Number> void appendBytes(Number number) {
        m_key.append(reinterpret_cast<const char*>(&number), sizeof number);
    }
    void makeKey(List list, std::int32_t baseOffset, const NameListEntry& entry) {
        m_key.assign(1, static_cast<char>(list));
        appendBytes(baseOffset);
        // The name's length first: a name and an address cannot run together.
        appendBytes(entry.name.size());
        m_key += entry.name;
        m_key += entry.addressText;
    }

    std::unordered_map<std::string, std::vector<int>, Hash, std::equal_to<>> m_kept;
    std::string m_key; // the key being looked up, kept to spare an allocation each
};

} // namespace starfall::cli
