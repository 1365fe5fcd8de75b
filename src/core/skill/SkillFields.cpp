#include "core/skill/SkillFields.h"

#include "core/skill/SkillTableLayout.h"

namespace starfall {

RecordLayout<SkillTable> skillLayout(const SkillTable& table, bool withLocked) {
    FieldTable<SkillTable> fields;
    for (std::size_t i = 0; i < table.slots.size(); ++i) {
        if (table.slots[i].locked && !withLocked)
            continue;
        const std::string key = "slots." + std::to_string(i + 1);
        const auto code = static_cast<RecordOffset>(2 * i);
        fields.push_back(choiceField<SkillTable>(
            key + ".skill", {code, 0xFF}, SkillItems::kItems,
            sequentialCodes(SkillItems::kItems.size(), SkillItems::kFirstCode),
            [i](auto& t) -> auto& { return t.slots.at(i).skill; }));
        fields.push_back(numberField<SkillTable>(
            key + ".level", byteAt(code + 1),
            kByteRange, [i](auto& t) -> auto& { return t.slots.at(i).level; }));
    }
    const std::size_t read = skillTableReadPositions(table.name, table.start).size();
    std::vector<RecordOffset> planned(read);
    for (std::size_t i = 0; i < read; ++i)
        planned[i] = static_cast<RecordOffset>(i);
    return RecordLayout<SkillTable>(std::move(fields), std::move(planned));
}

FieldTable<SkillTable> skillFields(const SkillTable& table, bool withLocked) {
    return skillLayout(table, withLocked).fields();
}

} // namespace starfall
