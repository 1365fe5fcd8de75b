#pragma once

// The unit record, stated once: each field's key, offset, bits and codec.

#include "core/record/RecordLayout.h"
#include "core/unit/UnitRecord.h"

namespace starfall {

[[nodiscard]] const RecordLayout<UnitRecord>& unitLayout();

// movement, parts_slots, movement_type, armor, mobility, limit, en, hp,
// repair_cost, terrain.air/.space/.land/.sea, abilities.1-4.
[[nodiscard]] inline const FieldTable<UnitRecord>& unitFields() {
    return unitLayout().fields();
}

} // namespace starfall
