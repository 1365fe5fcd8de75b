#include "core/unit/UnitRecord.h"

#include "core/lists/NameList.h"

namespace starfall {

UnitPlace UnitPlace::fromList(const NameList& list, std::size_t index) {
    const NameListEntry& entry = list.entries.at(index);
    const std::int32_t address = entry.address(); // parsed once: long lists come here per entry
    return {address, list.positionAt(address), entry.name};
}

} // namespace starfall
