#include "core/unit/UnitRecordFile.h"

#include "core/codec/ByteCodec.h"
#include "core/codec/TerrainRank.h"
#include "core/codec/WordCodec.h"
#include "core/io/ImageAccess.h"
#include "core/record/ByteCursor.h"
#include "core/text/RecordNames.h"
#include "core/unit/UnitFields.h"
#include "core/unit/UnitLayout.h"

#include <algorithm>

namespace starfall {

namespace {

ListChoice decodeMovementType(int code) {
    const auto* found = std::find(kMovementTypeCodes.begin(), kMovementTypeCodes.end(), code);
    if (found == kMovementTypeCodes.end())
        return ListChoice::unlisted(code);
    return ListChoice::item(static_cast<int>(found - kMovementTypeCodes.begin()));
}

int encodeMovementType(const ListChoice& choice) {
    if (const auto code = choice.unlistedCode())
        return *code & 0x0F;
    const int index = choice.indexOr();
    return index < 0 ? 0 : kMovementTypeCodes.at(static_cast<std::size_t>(index));
}

// Past the end of the image an ability shows no item and is written as 0.
ListChoice decodeAbility(int byte) {
    if (byte == kEndOfFile)
        return ListChoice::none();
    if (byte < static_cast<int>(kUnitAbilityItems.size()))
        return ListChoice::item(byte);
    return ListChoice::unlisted(byte);
}

std::uint8_t encodeAbility(const ListChoice& choice) {
    if (const auto code = choice.unlistedCode())
        return static_cast<std::uint8_t>(*code);
    return static_cast<std::uint8_t>(std::max(choice.indexOr(), 0));
}

std::string nextWord(ByteCursor& cursor) {
    const int low = cursor.next();
    return WordCodec::decode(low, cursor.next());
}

void appendWord(std::vector<std::uint8_t>& out, const std::string& text) {
    const auto word = WordCodec::encode(text);
    out.insert(out.end(), word.begin(), word.end());
}

} // namespace

UnitRecord decodeUnitRecord(std::span<const int> bytes) {
    ByteCursor cursor(bytes);
    UnitRecord record;
    record.movement = ByteCodec::decode(cursor.next());
    const int packed = byteOr255(cursor.next());
    record.movementType = decodeMovementType(packed % 16);
    record.partsSlots = ListChoice::item(packed / 16 % 4);
    record.keptBits = packed / 64;
    const auto airSpace = TerrainRank::decodePair(cursor.next());
    const auto landSea = TerrainRank::decodePair(cursor.next());
    record.terrain = {airSpace.first, airSpace.second, landSea.first, landSea.second};
    record.armor = nextWord(cursor);
    record.mobility = nextWord(cursor);
    record.limit = nextWord(cursor);
    record.en = nextWord(cursor);
    record.hp = nextWord(cursor);
    for (ListChoice& ability : record.abilities)
        ability = decodeAbility(cursor.next());
    record.repairCost = nextWord(cursor);
    record.loaded.bytes.assign(bytes.begin(), bytes.end());
    return record;
}

std::vector<std::uint8_t> encodeUnitRecord(const UnitRecord& record) {
    std::vector<std::uint8_t> out;
    out.push_back(ByteCodec::encode(record.movement));
    out.push_back(static_cast<std::uint8_t>(64 * (record.keptBits & 3) +
                                            16 * std::max(record.partsSlots.indexOr(), 0) +
                                            encodeMovementType(record.movementType)));
    out.push_back(TerrainRank::encodePair(record.terrain[0], record.terrain[1]));
    out.push_back(TerrainRank::encodePair(record.terrain[2], record.terrain[3]));
    for (const std::string* field :
         {&record.armor, &record.mobility, &record.limit, &record.en, &record.hp})
        appendWord(out, *field);
    for (const ListChoice& ability : record.abilities)
        out.push_back(encodeAbility(ability));
    appendWord(out, record.repairCost);
    return out;
}

UnitRecord loadUnitRecord(const std::string& imagePath, const UnitPlace& place) {
    return decodeUnitRecord(readBytes(imagePath, unitRecordPositions(place)));
}

std::vector<ByteWrite> unitSavePlan(const UnitPlace& place, const UnitRecord& record) {
    return recordSavePlan(unitFields(), unitRecordPositions(place), encodeUnitRecord(record),
                          record,
                          [](std::span<const int> bytes) { return decodeUnitRecord(bytes); });
}

void saveUnitRecord(const std::string& imagePath, const UnitPlace& place, UnitRecord& record) {
    writeRecordSave(imagePath, unitRecordPositions(place), unitSavePlan(place, record),
                    record.loaded, messages::unitRecordLabel(place.name));
}

} // namespace starfall
