#include "core/unit/UnitRecord.h"

#include "core/lists/NameList.h"

namespace starfall {

UnitPlace UnitPlace::fromList(const NameList& list, std::size_t index) {
    const NameListEntry& entry = list.entries.at(index);
    return {entry.address(), list.positionOf(entry), entry.name};
}

} // namespace starfall
