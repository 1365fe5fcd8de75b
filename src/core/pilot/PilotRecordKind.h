#pragma once

#include <cstdint>
#include <string_view>

namespace starfall {

// Which blocks a pilot record has. Decided from the list address A, never
// from the record position: the same address keeps its kind whatever base
// offset the list declares.
enum class PilotRecordKind {
    Full,        // stat block at P, spirit block at P + 14, personality at P - 6
    StatsOnly,   // stat block and personality, no spirit block
    SpiritsOnly, // spirit block at P, nothing else
};

[[nodiscard]] PilotRecordKind classifyPilotRecord(std::int32_t address);

[[nodiscard]] constexpr bool hasStatBlock(PilotRecordKind kind) {
    return kind != PilotRecordKind::SpiritsOnly;
}
[[nodiscard]] constexpr bool hasSpiritBlock(PilotRecordKind kind) {
    return kind != PilotRecordKind::StatsOnly;
}
// The pilot page opens a skill table only for the kinds whose skill button it enables.
[[nodiscard]] constexpr bool opensSkillTable(PilotRecordKind kind) {
    return kind != PilotRecordKind::StatsOnly;
}

// "Full", "StatsOnly" or "SpiritsOnly".
[[nodiscard]] std::string_view kindName(PilotRecordKind kind);

} // namespace starfall
