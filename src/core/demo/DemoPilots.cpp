#include "core/demo/DemoContent.h"

namespace starfall::demo {

namespace {

// Stat block: terrain air/space, land/sea, melee, shooting, then hit,
// evasion, SP, skill and reaction as low byte, high byte.
constexpr std::array<std::uint8_t, 14> stats(std::uint8_t airSpace, std::uint8_t landSea,
                                             std::uint8_t melee, std::uint8_t shooting,
                                             std::uint16_t hit, std::uint16_t evasion,
                                             std::uint16_t sp, std::uint16_t skill,
                                             std::uint16_t reaction) {
    const auto lo = [](std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    const auto hi = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    return {airSpace,    landSea, melee,  shooting,  lo(hit),   hi(hit),      lo(evasion),
            hi(evasion), lo(sp),  hi(sp), lo(skill), hi(skill), lo(reaction), hi(reaction)};
}

// Spirit block: command code and learn level of each of the six commands.
constexpr std::array<std::uint8_t, 12> spirits(std::array<std::uint8_t, 6> codes,
                                               std::array<std::uint8_t, 6> levels) {
    std::array<std::uint8_t, 12> block{};
    for (std::size_t i = 0; i < 6; ++i) {
        block[2 * i] = codes[i];
        block[2 * i + 1] = levels[i];
    }
    return block;
}

std::vector<DemoPilot> buildPilots() {
    return {
        {"카인 벨",
         100,
         stats(0x43, 0x32, 160, 148, 172, 165, 60, 150, 168),
         spirits({6, 8, 4, 14, 25, 11}, {1, 5, 12, 20, 31, 40}),
         0x10,
         {{33, 1}, {34, 9}, {35, 18}, {78, 1}, {80, 25}}},
        {"세라 윈",
         200,
         stats(0x34, 0x42, 132, 171, 180, 150, 72, 140, 155),
         spirits({7, 15, 2, 12, 18, 29}, {1, 3, 9, 17, 26, 38}),
         0x20,
         {{60, 1}, {61, 12}, {62, 24}, {79, 30}}},
        {"리오 하젤",
         300,
         stats(0x33, 0x33, 140, 140, 150, 150, 55, 130, 140),
         spirits({1, 10, 13, 16, 24, 28}, {1, 2, 8, 15, 23, 34}),
         0x00,
         {{42, 1}, {43, 15}}},
        // The first slot of this pilot's skill table is locked on the page.
        {"레즌",
         400,
         stats(0x44, 0x41, 170, 150, 165, 160, 64, 158, 172),
         spirits({4, 6, 10, 3, 17, 25}, {1, 6, 14, 22, 30, 41}),
         0x30,
         {{33, 1}, {36, 20}, {78, 8}}},
        // Slot 8 of a pilot whose name holds this word is locked.
        {"하늘도몬",
         500,
         stats(0x43, 0x43, 185, 120, 160, 158, 70, 160, 166),
         spirits({10, 4, 24, 14, 25, 17}, {1, 4, 11, 19, 27, 36}),
         0x30,
         {{69, 1}, {70, 5}, {71, 10}, {72, 15}, {73, 20}, {74, 25}, {75, 30}, {79, 1}, {80, 35}}},
        {"미나 로크",
         600,
         stats(0x24, 0x21, 110, 135, 140, 175, 80, 120, 150),
         spirits({8, 5, 12, 22, 29, 18}, {1, 7, 13, 21, 29, 45}),
         0x00,
         {{51, 1},
          {52, 10},
          {53, 20},
          {54, 30},
          {55, 40},
          {56, 50},
          {57, 60},
          {58, 70},
          {59, 80},
          {78, 1},
          {79, 1},
          {80, 1},
          {81, 1},
          {82, 1},
          {83, 1},
          {60, 1},
          {61, 1},
          {62, 1},
          {63, 1}}},
        // A table that runs out of its sector: slot 5's level and slot 6 lie
        // behind the framing.
        {"듀오",
         1453,
         stats(0x42, 0x34, 150, 150, 155, 170, 58, 145, 160),
         spirits({8, 11, 13, 21, 14, 25}, {1, 5, 12, 19, 28, 39}),
         0x20,
         {{42, 1}, {43, 8}, {44, 16}, {45, 24}, {46, 32}, {47, 40}, {79, 12}}},
        // The four protagonist entries open their skill table at P + 12.
        {"주인공 특기(리얼)", 700, {}, {}, 0x10, {{33, 1}, {34, 10}, {80, 1}}},
        {"주인공 특기(슈퍼)", 760, {}, {}, 0x10, {{78, 1}, {83, 20}}},
        {"부주인공 특기(리얼)", 820, {}, {}, 0x10, {{60, 1}, {61, 15}}},
        {"부주인공 특기(슈퍼)", 880, {}, {}, 0x10, {{69, 1}, {79, 22}}},
        // Stat-only and spirit-only records.
        {"보급 하사관", 2786, stats(0x22, 0x22, 90, 95, 110, 105, 0, 100, 110), {}, 0x10, {}},
        {"정비 반장", 3699, stats(0x21, 0x32, 100, 85, 105, 100, 0, 96, 104), {}, 0x00, {}},
        {"지원 인공지능", 15188, {}, spirits({2, 12, 16, 22, 0, 0}, {1, 1, 1, 1, 0, 0}), 0, {}},
        {"함선 지휘관",
         15240,
         {},
         spirits({13, 24, 16, 29, 17, 12}, {1, 1, 10, 20, 30, 40}),
         0,
         {}},
        // Split records: the stat block, and the personality byte in the
        // previous sector.
        {"경비대장", 17947, stats(0x33, 0x23, 130, 125, 0x1234, 140, 0, 135, 141), {}, 0x20, {}},
        {"아렌 크로스",
         4144,
         stats(0x44, 0x33, 165, 160, 170, 168, 66, 152, 171),
         spirits({6, 14, 4, 11, 25, 28}, {1, 8, 16, 24, 33, 45}),
         0xD7,
         {{36, 1}, {37, 20}}},
        {"노아 실버",
         8850,
         stats(0x43, 0x24, 128, 162, 168, 158, 62, 148, 160),
         spirits({15, 8, 7, 5, 26, 18}, {1, 4, 10, 18, 25, 37}),
         0x2A,
         {{81, 1}}},
        {"교관 하르트", 15905, stats(0x33, 0x33, 150, 150, 160, 150, 0, 170, 165), {}, 0x1F, {}},
    };
}

} // namespace

const std::vector<DemoPilot>& demoPilots() {
    static const std::vector<DemoPilot> pilots = buildPilots();
    return pilots;
}

} // namespace starfall::demo
