#include "core/unit/UnitRecordFile.h"

#include "core/text/RecordNames.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"

namespace starfall {

UnitRecord decodeUnitRecord(std::span<const int> bytes) {
    return unitLayout().decode(bytes);
}

std::vector<std::uint8_t> encodeUnitRecord(const UnitRecord& record) {
    return unitLayout().encode(record);
}

UnitRecord loadUnitRecord(const std::string& imagePath, const UnitPlace& place) {
    return decodeUnitRecord(readBytes(imagePath, unitRecordPositions(place)));
}

std::vector<ByteWrite> unitSavePlan(const UnitPlace& place, const UnitRecord& record) {
    return unitLayout().savePlan(unitRecordPositions(place), record);
}

SaveReport saveUnitRecord(const std::string& imagePath, const UnitPlace& place,
                          UnitRecord& record, CodeRule codes) {
    return writeRecordSave(imagePath, unitLayout(), unitRecordPositions(place),
                           unitSavePlan(place, record), record.loaded,
                           messages::unitRecordLabel(place.name), codes);
}

} // namespace starfall
