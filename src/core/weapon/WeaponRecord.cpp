#include "core/weapon/WeaponRecord.h"

#include "core/io/ImageAccess.h"
#include "core/sector/SectorGeometry.h"
#include "core/text/RecordNames.h"
#include "core/weapon/WeaponFields.h"

namespace starfall {

namespace {

constexpr Position kTableStart = 46381512;
constexpr Position kFirstRun = 2000; // table bytes in the first sector's data area

// Image position of byte `offset` of the table's contiguous stream.
Position tablePosition(Position offset) {
    if (offset < kFirstRun)
        return kTableStart + offset;
    const Position gaps = (offset - kFirstRun) / sector::kDataBytes + 1;
    return kTableStart + offset + gaps * kSectorGap;
}

} // namespace

Position weaponRecordPosition(int number) {
    return tablePosition(static_cast<Position>(number) * kWeaponRecordBytes);
}

std::array<Position, kWeaponRecordBytes> weaponBytePositions(int number) {
    std::array<Position, kWeaponRecordBytes> positions{};
    const Position start = static_cast<Position>(number) * kWeaponRecordBytes;
    for (int i = 0; i < kWeaponRecordBytes; ++i)
        positions[static_cast<std::size_t>(i)] = tablePosition(start + i);
    return positions;
}

Position weaponBytePosition(int number, RecordOffset offset) {
    return tablePosition(static_cast<Position>(number) * kWeaponRecordBytes + offset);
}

std::vector<Position> weaponSavePositions(int number) {
    return weaponLayout().positions(
        [number](RecordOffset offset) { return weaponBytePosition(number, offset); });
}

WeaponRecord decodeWeaponRecord(std::span<const int> bytes) {
    return weaponLayout().decode(bytes);
}

std::vector<std::uint8_t> encodeWeaponRecord(const WeaponRecord& record) {
    return weaponLayout().encode(record);
}

WeaponRecord loadWeaponRecord(const std::string& imagePath, int number) {
    return decodeWeaponRecord(readBytes(imagePath, weaponSavePositions(number)));
}

std::vector<ByteWrite> weaponSavePlan(int number, const WeaponRecord& record) {
    return weaponLayout().savePlan(weaponSavePositions(number), record);
}

SaveReport saveWeaponRecord(const std::string& imagePath, int number, WeaponRecord& record,
                            CodeRule codes) {
    return writeRecordSave(imagePath, weaponLayout(), weaponSavePositions(number),
                           weaponSavePlan(number, record), record.loaded,
                           messages::weaponRecordLabel(number), codes);
}

} // namespace starfall
