#pragma once

#include "core/codec/ListChoice.h"
#include "core/io/Position.h"
#include "core/pilot/PilotRecordKind.h"
#include "core/record/LoadedBytes.h"

#include <array>
#include <cstdint>
#include <string>

namespace starfall {

struct NameList;

// Where a pilot record lies: its list address A (which decides the kind and
// the gap points), its position P = base offset + A, and its list name
// (code-page-949 bytes) for the skill table rules and the save messages.
struct PilotReference {
    std::int32_t address = 0;
    Position position = 0;
    std::string name;

    [[nodiscard]] static PilotReference fromList(const NameList& list, std::size_t index);
};

// The stat block as the page shows it: list choices and decimal texts.
struct PilotStats {
    ListChoice air = ListChoice::none();
    ListChoice space = ListChoice::none();
    ListChoice land = ListChoice::none();
    ListChoice sea = ListChoice::none();
    std::string melee;
    std::string shooting;
    std::string hit;
    std::string evasion;
    std::string spiritPoints;
    std::string skill;
    std::string reaction;

    bool operator==(const PilotStats&) const = default;
};

struct SpiritEntry {
    ListChoice command = ListChoice::none();
    std::string level; // the pilot level at which the command is learnt

    bool operator==(const SpiritEntry&) const = default;
};

inline constexpr std::size_t kSpiritCount = 6;

// A decoded pilot record. Blocks its kind lacks keep whatever they held
// before the load and are never written.
struct PilotRecord {
    PilotRecordKind kind = PilotRecordKind::Full;
    PilotStats stats;
    std::array<SpiritEntry, kSpiritCount> spirits;
    ListChoice personality = ListChoice::none();
    LoadedBytes loaded; // the bytes of the blocks of `kind`

    bool operator==(const PilotRecord&) const = default;
};

} // namespace starfall
