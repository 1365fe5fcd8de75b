#include "core/skill/SkillTable.h"

namespace starfall {

ListChoice SkillItems::decode(int code) {
    const int index = code - kFirstCode;
    if (index >= 0 && index < static_cast<int>(kItems.size()))
        return ListChoice::item(index);
    return ListChoice::unlisted(code);
}

std::uint8_t SkillItems::encode(const ListChoice& choice, std::uint8_t stored) {
    const int index = choice.indexOr(-1);
    if (index >= 0 && index < static_cast<int>(kItems.size()))
        return static_cast<std::uint8_t>(kFirstCode + index);
    if (const auto code = choice.unlistedCode())
        return static_cast<std::uint8_t>(*code);
    return stored;
}

} // namespace starfall
