#pragma once

// The weapon record, stated once: each field's key, offset, bits and codec.

#include "core/record/RecordLayout.h"
#include "core/weapon/WeaponRecord.h"

namespace starfall {

[[nodiscard]] const RecordLayout<WeaponRecord>& weaponLayout();

// attack, hit, critical, upgrade_type, range_near, range_far, ammo, en,
// morale, terrain.air/.space/.land/.sea.
[[nodiscard]] inline const FieldTable<WeaponRecord>& weaponFields() {
    return weaponLayout().fields();
}

} // namespace starfall
