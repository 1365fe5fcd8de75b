// The range rule the editor's saves share with the command line: a changed
// number must lie within its field's range as a save reads the text; a value
// left as it was read is never refused, whatever it shows.
#include "core/unit/UnitFields.h"
#include "core/unit/UnitRecordFile.h"
#include "core/upgrade/UpgradeTable.h"
#include "core/weapon/WeaponFields.h"
#include "core/weapon/WeaponRecord.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace starfall {
namespace {

// The key of the first field the rule refuses, or nothing.
template <typename Record>
std::optional<std::string> refused(const RecordLayout<Record>& layout, const Record& record) {
    const Field<Record>* field = layout.firstOutOfRange(record);
    return field ? std::optional(field->key) : std::nullopt;
}

struct TextCase {
    const char* text;
    bool refused;
};

TEST(FieldRange, AUnitWordTakesZeroTo65535AsTyped) {
    const TextCase cases[] = {{"65535", false}, {"65536", true}, {"70000", true},
                              {"00070", false}, {"0", false},     {"", false},
                              {"-1", true},     {"99999999999", true}};
    const UnitRecord read = decodeUnitRecord(std::vector<int>(unitLayout().offsets().size(), 0));
    for (const TextCase& c : cases) {
        UnitRecord record = read;
        record.hp = c.text;
        EXPECT_EQ(refused(unitLayout(), record), c.refused ? std::optional<std::string>("hp")
                                                           : std::nullopt)
            << c.text;
    }
}

TEST(FieldRange, AWeaponsHitTakesMinus128To127FromItsFirstFiveCharacters) {
    const TextCase cases[] = {{"127", false}, {"128", true},   {"-128", false},
                              {"-129", true}, {"-0001", false}, {"000127", false}};
    const WeaponRecord read = decodeWeaponRecord(std::vector<int>(10, 0));
    for (const TextCase& c : cases) {
        WeaponRecord record = read;
        record.hit = c.text;
        EXPECT_EQ(refused(weaponLayout(), record), c.refused ? std::optional<std::string>("hit")
                                                             : std::nullopt)
            << c.text;
    }
}

// A byte past the image's end shows "-1"; saved unchanged it is no value the
// user gave, so the save may go on (and writes nothing).
TEST(FieldRange, AValueLeftAsReadIsNeverRefused) {
    const WeaponRecord pastEnd = decodeWeaponRecord(std::vector<int>(10, kEndOfFile));
    EXPECT_EQ(pastEnd.ammo, "-1");
    EXPECT_EQ(refused(weaponLayout(), pastEnd), std::nullopt);
    WeaponRecord edited = pastEnd;
    edited.en = "256";
    EXPECT_EQ(refused(weaponLayout(), edited), std::optional<std::string>("en"));
}

TEST(FieldRange, TheFirstRefusedFieldIsNamedInTableOrder) {
    UpgradeTable table = decodeUpgradeTable(std::vector<int>(upgradeTablePositions().size(), 0));
    table.values[3][4] = "65536"; // armor, stage 5
    table.values[8][9] = "70000";
    EXPECT_EQ(refused(upgradeLayout(), table), std::optional<std::string>("armor.5"));
}

} // namespace
} // namespace starfall
