#include "core/weapon/WeaponRecord.h"

#include "core/codec/ByteCodec.h"
#include "core/codec/TextNumbers.h"
#include "core/codec/WordCodec.h"
#include "core/io/ImageAccess.h"
#include "core/record/ByteCursor.h"
#include "core/sector/SectorGeometry.h"
#include "core/text/RecordNames.h"
#include "core/unit/UnitFields.h"

#include <algorithm>

namespace starfall {

namespace {

constexpr Position kTableStart = 46381512;
constexpr Position kFirstRun = 2000;  // table bytes in the first sector's data area
constexpr std::size_t kHitDigits = 5; // a save reads the hit field's first five characters

// Image position of byte `offset` of the table's contiguous stream.
Position tablePosition(Position offset) {
    if (offset < kFirstRun)
        return kTableStart + offset;
    const Position gaps = (offset - kFirstRun) / sector::kDataBytes + 1;
    return kTableStart + offset + gaps * kSectorGap;
}

ListChoice decodeCode(int code, std::size_t items) {
    return code < static_cast<int>(items) ? ListChoice::item(code) : ListChoice::unlisted(code);
}

int encodeCode(const ListChoice& choice) {
    if (const auto code = choice.unlistedCode())
        return *code & 0x0F;
    return std::max(choice.indexOr(), 0);
}

// A load always selects an item; an empty list counts as "A" rather than
// spilling into the neighbouring field.
int terrainCode(const ListChoice& choice) {
    return 3 - std::clamp(choice.indexOr(0), 0, 3);
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

std::vector<Position> weaponSavePositions(int number) {
    const auto all = weaponBytePositions(number);
    std::vector<Position> positions(all.begin(), all.begin() + 9);
    positions.push_back(all[10]);
    return positions;
}

WeaponRecord decodeWeaponRecord(std::span<const int> bytes) {
    ByteCursor cursor(bytes);
    WeaponRecord record;
    const int low = cursor.next();
    record.attack = WordCodec::decode(low, cursor.next());
    const int hit = byteOr255(cursor.next());
    record.hit = std::to_string(hit > 127 ? hit - 256 : hit);
    const int rateAndType = byteOr255(cursor.next());
    record.critical = decodeCode(rateAndType / 16, kCriticalRateItems.size());
    record.upgradeType = decodeCode(rateAndType % 16, kUpgradeTypeItems.size());
    record.rangeNear = ByteCodec::decode(cursor.next());
    record.rangeFar = ByteCodec::decode(cursor.next());
    const int terrain = byteOr255(cursor.next());
    // Stored land, sea, air, space from the high bits down; lists air, space, land, sea.
    const auto position = [terrain](int shift) {
        return ListChoice::item(3 - (terrain >> shift & 3));
    };
    record.terrain = {position(2), position(0), position(6), position(4)};
    record.ammo = ByteCodec::decode(cursor.next());
    record.en = ByteCodec::decode(cursor.next());
    record.morale = ByteCodec::decode(cursor.next());
    record.loaded.bytes.assign(bytes.begin(), bytes.end());
    return record;
}

std::vector<std::uint8_t> encodeWeaponRecord(const WeaponRecord& record) {
    std::vector<std::uint8_t> out;
    const auto attack = WordCodec::encode(record.attack);
    out.insert(out.end(), attack.begin(), attack.end());
    out.push_back(lowByte(parseDecimal(
        std::string_view(record.hit).substr(0, std::min(record.hit.size(), kHitDigits)))));
    out.push_back(static_cast<std::uint8_t>(16 * encodeCode(record.critical) +
                                            encodeCode(record.upgradeType)));
    out.push_back(ByteCodec::encode(record.rangeNear));
    out.push_back(ByteCodec::encode(record.rangeFar));
    out.push_back(static_cast<std::uint8_t>(
        64 * terrainCode(record.terrain[2]) + 16 * terrainCode(record.terrain[3]) +
        4 * terrainCode(record.terrain[0]) + terrainCode(record.terrain[1])));
    out.push_back(ByteCodec::encode(record.ammo));
    out.push_back(ByteCodec::encode(record.en));
    out.push_back(ByteCodec::encode(record.morale));
    return out;
}

WeaponRecord loadWeaponRecord(const std::string& imagePath, int number) {
    return decodeWeaponRecord(readBytes(imagePath, weaponSavePositions(number)));
}

std::vector<ByteWrite> weaponSavePlan(int number, const WeaponRecord& record) {
    return recordSavePlan(weaponFields(), weaponSavePositions(number), encodeWeaponRecord(record),
                          record,
                          [](std::span<const int> bytes) { return decodeWeaponRecord(bytes); });
}

void saveWeaponRecord(const std::string& imagePath, int number, WeaponRecord& record) {
    writeRecordSave(imagePath, weaponSavePositions(number), weaponSavePlan(number, record),
                    record.loaded, messages::weaponRecordLabel(number));
}

} // namespace starfall
