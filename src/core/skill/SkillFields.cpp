#include "core/skill/SkillFields.h"

#include "core/skill/SkillTableLayout.h"

#include <map>
#include <mutex>
#include <tuple>

namespace starfall {

namespace {

RecordLayout<SkillTable> makeSkillLayout(const SkillTable& table, bool withLocked,
                                         std::size_t read) {
    FieldTable<SkillTable> fields;
    fields.reserve(2 * table.slots.size());
    static const KeptCodes codes(
        sequentialCodes(SkillItems::kItems.size(), SkillItems::kFirstCode));
    for (std::size_t i = 0; i < table.slots.size(); ++i) {
        if (table.slots[i].locked && !withLocked)
            continue;
        const std::string key = "slots." + std::to_string(i + 1);
        const auto code = static_cast<RecordOffset>(2 * i);
        fields.push_back(choiceField<SkillTable>(
            key + ".skill", {code, 0xFF}, SkillItems::kItems,
            codes, [i](auto& t) -> auto& { return t.slots.at(i).skill; }));
        fields.push_back(numberField<SkillTable>(
            key + ".level", byteAt(code + 1),
            kByteRange, [i](auto& t) -> auto& { return t.slots.at(i).level; }));
    }
    std::vector<RecordOffset> planned(read);
    for (std::size_t i = 0; i < read; ++i)
        planned[i] = static_cast<RecordOffset>(i);
    return RecordLayout<SkillTable>(std::move(fields), std::move(planned));
}

// What a layout is made from: which slots it has (only the first and the
// eighth can be locked), whether locked ones are in, and how many bytes the
// table reads. With the locked slots in, which slots are locked changes
// nothing. A few dozen of these cover every table of an image.
using LayoutKey = std::tuple<bool, std::size_t, std::size_t, std::uint32_t>;

LayoutKey layoutKey(const SkillTable& table, bool withLocked, std::size_t read) {
    std::uint32_t locked = 0;
    for (std::size_t i = 0; !withLocked && i < table.slots.size() && i < 32; ++i) {
        if (table.slots[i].locked)
            locked |= std::uint32_t{1} << i;
    }
    return {withLocked, read, table.slots.size(), locked};
}

} // namespace

// Building a layout makes two fields with their codecs per slot, which costs
// more than decoding the table; with tens of thousands of tables in a list,
// each shape is built once and kept.
const RecordLayout<SkillTable>& skillLayout(const SkillTable& table, bool withLocked) {
    return skillLayout(table, withLocked, skillTableReadPositions(table.name, table.start).size());
}

const RecordLayout<SkillTable>& skillLayout(const SkillTable& table, bool withLocked,
                                            std::size_t read) {
    static std::mutex guard;
    static std::map<LayoutKey, RecordLayout<SkillTable>> layouts;
    const LayoutKey key = layoutKey(table, withLocked, read);
    const std::lock_guard lock(guard);
    auto found = layouts.find(key);
    if (found == layouts.end())
        found = layouts.emplace(key, makeSkillLayout(table, withLocked, read)).first;
    return found->second;
}

FieldTable<SkillTable> skillFields(const SkillTable& table, bool withLocked) {
    return skillLayout(table, withLocked).fields();
}

} // namespace starfall
