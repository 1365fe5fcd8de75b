#pragma once

// The fields of a unit record and of a weapon record, keyed as the command
// line prints them, placed among the bytes their layouts plan.

#include "core/record/FieldTable.h"
#include "core/unit/UnitRecord.h"
#include "core/weapon/WeaponRecord.h"

namespace starfall {

// movement, parts_slots, movement_type, terrain.air/.space/.land/.sea, armor,
// mobility, limit, en, hp, abilities.1-4, repair_cost.
[[nodiscard]] const FieldTable<UnitRecord>& unitFields();

// attack, hit, critical, upgrade_type, range_near, range_far,
// terrain.air/.space/.land/.sea, ammo, en, morale.
[[nodiscard]] const FieldTable<WeaponRecord>& weaponFields();

} // namespace starfall
