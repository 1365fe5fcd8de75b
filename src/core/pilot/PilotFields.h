#pragma once

// The fields of a pilot record of each kind and of a skill table, keyed as
// the command line prints them, placed among the bytes their layouts plan.

#include "core/record/FieldTable.h"
#include "core/pilot/PilotRecord.h"
#include "core/skill/SkillTable.h"

namespace starfall {

// terrain.air/.space/.land/.sea, melee, shooting, hit, evasion, sp, skill,
// reaction and personality where the kind has a stat block;
// spirits.N.command and spirits.N.level (N 1-6) where it has a spirit block.
[[nodiscard]] const FieldTable<PilotRecord>& pilotFields(PilotRecordKind kind);

// slots.N.skill and slots.N.level for each slot read that no name rule
// locks; with `withLocked`, for the locked slots too (to show them, never to
// write them).
[[nodiscard]] FieldTable<SkillTable> skillFields(const SkillTable& table, bool withLocked = false);

} // namespace starfall
