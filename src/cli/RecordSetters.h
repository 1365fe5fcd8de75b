#pragma once

// One KEY=VALUE assignment applied to a unit record, a weapon record or the
// upgrade table, keyed as `unit get`, `weapon get` and `upgrade get` print
// them. Number fields keep the text as given, so the save's decimal parse
// treats it as a typed edit box would. A key or item that does not exist is a
// UsageError and leaves the record as it was.

#include "unit/UnitRecord.h"
#include "unit/WeaponRecord.h"
#include "upgrade/UpgradeTable.h"

#include <string>

namespace starfall::cli {

// movement, parts_slots, movement_type, terrain.air/.space/.land/.sea,
// armor, mobility, limit, en, hp, repair_cost, abilities.1 to abilities.4.
void setUnitField(UnitRecord& record, const std::string& key, const std::string& value);

// attack, hit, critical, upgrade_type, range_near, range_far,
// terrain.air/.space/.land/.sea, ammo, en, morale.
void setWeaponField(WeaponRecord& record, const std::string& key, const std::string& value);

// ROW.K sets stage K (1-10) of a row; ROW alone takes all ten stages as a
// comma-separated list. ROW is a key of kUpgradeRows.
void setUpgradeField(UpgradeTable& table, const std::string& key, const std::string& value);

} // namespace starfall::cli
