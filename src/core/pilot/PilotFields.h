#pragma once

// The pilot record, stated once per kind: each field's key, offset from P,
// bits and codec. Blocks a kind lacks have no rows.

#include "core/pilot/PilotRecord.h"
#include "core/record/RecordLayout.h"

namespace starfall {

// The stat block at P, the spirit block after it (at P for SpiritsOnly), the
// personality byte before the record.
inline constexpr RecordOffset kStatBlockSize = 14;
inline constexpr RecordOffset kPersonalityOffset = -6;

[[nodiscard]] const RecordLayout<PilotRecord>& pilotLayout(PilotRecordKind kind);

// terrain.*, melee, shooting, hit, evasion, sp, skill, reaction,
// spirits.N.command/.level, personality: the ones of `kind`.
[[nodiscard]] inline const FieldTable<PilotRecord>& pilotFields(PilotRecordKind kind) {
    return pilotLayout(kind).fields();
}

} // namespace starfall
