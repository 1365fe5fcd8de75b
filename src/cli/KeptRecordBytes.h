#pragma once

// The bytes of the listed records an export has read, by what their places
// are made from: which list (and its base offset), the entry's name and
// address. An image holds a few thousand records, so a list of tens of
// thousands of entries names each of them many times; each is then placed
// and read about once. Only for a command that writes nothing while it reads.

#include "core/io/ImageAccess.h"
#include "core/lists/NameList.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace starfall::cli {

class KeptRecordBytes {
public:
    // Which list an entry is of: the same entry places a pilot and its skill
    // table apart.
    enum class List : char { Units = 'u', Pilots = 'p', SkillTables = 's' };

    explicit KeptRecordBytes(std::size_t mostSlots = kSlots) : m_mostSlots(mostSlots) {}

    // The bytes at `positions()` of `image`, read the first time the entry
    // is met (kEndOfFile past the end of the image). Valid until the next call.
    template <typename Positions>
    [[nodiscard]] const std::vector<int>& bytes(const std::string& image, List list,
                                                const NameList& names, const NameListEntry& entry,
                                                const Positions& positions) {
        makeKey(list, names.baseOffset, entry);
        makeSlotsFor(names.entries.size());
        Slot& slot = m_slots[std::hash<std::string>{}(m_key) % m_slots.size()];
        if (slot.key != m_key) {
            slot.key.clear(); // a read that throws leaves the slot empty, not wrong
            readBytes(image, positions(), slot.bytes);
            slot.key = m_key;
        }
        return slot.bytes;
    }

private:
    // Slots by the key's hash, each holding the record last met there: a
    // record that meets another in its slot is read again when it comes
    // back. They bound the memory whatever the list's length, and are reused
    // in place, so that a list of records met once each pays little more
    // than a look-up per record.
    static constexpr std::size_t kSlots = 4096;
    struct Slot {
        std::string key; // empty: holds nothing
        std::vector<int> bytes;
    };

    // Twice as many slots as the longest list met has entries, up to the
    // most: a short list's export sets up no more than it uses. Slots made
    // anew drop the records they held, which are then read again.
    void makeSlotsFor(std::size_t entries) {
        const std::size_t wanted =
            std::max<std::size_t>(1, std::min(m_mostSlots, std::bit_ceil(2 * entries)));
        if (m_slots.size() < wanted) {
            m_slots.clear();
            m_slots.resize(wanted);
        }
    }
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

    std::size_t m_mostSlots;
    std::vector<Slot> m_slots;
    std::string m_key; // the key being looked up, kept to spare an allocation each
};

} // namespace starfall::cli
