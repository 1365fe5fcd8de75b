#include "core/pilot/PilotRecord.h"

#include "core/lists/NameList.h"

namespace starfall {

PilotReference PilotReference::fromList(const NameList& list, std::size_t index) {
    const NameListEntry& entry = list.entries.at(index);
    return {entry.address(), list.positionOf(entry), entry.name};
}

} // namespace starfall
