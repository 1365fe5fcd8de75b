#include "core/demo/DemoContent.h"

namespace starfall::demo {

namespace {

struct UnitStats {
    std::uint16_t repairCost;
    std::uint8_t movement;
    std::uint8_t packed; // kept bits, parts slots, movement type code
    std::uint8_t airSpace;
    std::uint8_t landSea;
    std::uint16_t armor, mobility, limit, en, hp;
    std::array<std::uint8_t, 4> abilities;
};

// The 20 stored bytes in field order: repair cost, movement, packed byte,
// the two terrain bytes, armor, mobility, limit, EN, HP, abilities 1-4.
constexpr std::array<std::uint8_t, 20> record(const UnitStats& s) {
    const auto lo = [](std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); };
    const auto hi = [](std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); };
    return {lo(s.repairCost), hi(s.repairCost), s.movement,     s.packed,       s.airSpace,
            s.landSea,        lo(s.armor),      hi(s.armor),    lo(s.mobility), hi(s.mobility),
            lo(s.limit),      hi(s.limit),      lo(s.en),       hi(s.en),       lo(s.hp),
            hi(s.hp),         s.abilities[0],   s.abilities[1], s.abilities[2], s.abilities[3]};
}

std::vector<DemoUnit> buildUnits() {
    return {
        {"스타폴 1호기",
         100,
         record({1500, 6, 0x35, 0x43, 0x34, 1100, 110, 260, 180, 3800, {1, 9, 0, 0}}),
         {0, 117, 118, 238}},
        {"스타폴 2호기",
         200,
         record({1800, 7, 0x22, 0x44, 0x24, 1200, 115, 270, 200, 4200, {2, 10, 17, 0}}),
         {479, 599, 840}},
        {"그레이 울프",
         400,
         record({900, 5, 0xE0, 0x23, 0x42, 900, 95, 220, 150, 3000, {0, 0, 0, 0}}),
         {1081, 1203, 1285},
         0x08},
        // Whatever the list stores third, the editor shows weapon 1203 here.
        {"디오",
         600,
         record({2100, 6, 0x16, 0x34, 0x43, 1300, 120, 280, 190, 4500, {5, 12, 0, 0}}),
         {117, 118, 238, 479}},
        {"네뷸라 캐논",
         800,
         record({2500, 4, 0x05, 0x04, 0x04, 1500, 90, 240, 220, 5200, {3, 14, 18, 15}}),
         {358, 1322, 1443, 1448}},
        {"오로라 포트리스",
         1000,
         record({3000, 5, 0x1C, 0x20, 0x44, 1700, 85, 230, 260, 6800, {4, 11, 16, 13}}),
         {1563, 1564, 1600, 1610}},
        // The five split records and the units whose weapon list moves.
        {"단쿠가",
         1510,
         record({2200, 7, 0x37, 0x43, 0x33, 1250, 125, 285, 170, 4100, {6, 0, 0, 0}}),
         {0, 599}},
        {"시리우스",
         10922,
         record({1600, 6, 0x12, 0x44, 0x22, 1150, 112, 265, 175, 3900, {1, 7, 0, 0}}),
         {840}},
        {"카시오페아",
         13268,
         record({1700, 6, 0x24, 0x42, 0x42, 1180, 108, 255, 185, 4000, {2, 8, 0, 0}}),
         {1081}},
        {"베가 커맨더",
         8562,
         record({2400, 5, 0x30, 0x34, 0x34, 1350, 100, 250, 210, 4800, {0, 10, 0, 0}}),
         {238}},
        {"알타이르",
         6208,
         record({1400, 6, 0x29, 0x43, 0x23, 1050, 118, 262, 165, 3600, {18, 1, 9, 2}}),
         {479}},
        {"데네브",
         22672,
         record({1450, 6, 0x27, 0x34, 0x32, 1080, 116, 258, 168, 3700, {17, 16, 15, 0}}),
         {599}},
        {"리가즈이",
         17948,
         record({1300, 7, 0x12, 0x44, 0x14, 1000, 122, 275, 160, 3400, {0, 0, 0, 0}}),
         {0, 117, 118, 238, 479}},
        {"양산형 뉴건담(판넬)",
         3832,
         record({1900, 6, 0x22, 0x33, 0x33, 1220, 114, 268, 178, 3950, {1, 0, 0, 0}}),
         {599, 840, 1081, 1203, 1322}},
        {"아슈라템플",
         15600,
         record({2600, 5, 0x3C, 0x33, 0x43, 1400, 105, 248, 205, 5000, {11, 13, 0, 0}}),
         {1443, 1448, 1563}},
    };
}

// Attack, hit, critical rate and upgrade type, ranges, terrain, ammo, EN,
// an unedited byte, morale, six unedited bytes.
constexpr std::array<std::uint8_t, 17> weapon(std::uint16_t attack, std::int8_t hit,
                                              std::uint8_t rateAndType, std::uint8_t nearRange,
                                              std::uint8_t farRange, std::uint8_t terrain,
                                              std::uint8_t ammo, std::uint8_t en,
                                              std::uint8_t morale) {
    return {static_cast<std::uint8_t>(attack & 0xFF),
            static_cast<std::uint8_t>(attack >> 8),
            static_cast<std::uint8_t>(hit),
            rateAndType,
            nearRange,
            farRange,
            terrain,
            ammo,
            en,
            0x5A,
            morale,
            0x11,
            0x22,
            0x33,
            0x44,
            0x55,
            0x66};
}

std::vector<DemoWeapon> buildWeapons() {
    return {
        {"벌컨", 0, weapon(600, 20, 0x10, 1, 2, 0xFF, 20, 0, 0)},
        {"빔 사벨", 117, weapon(1800, 15, 0x31, 1, 1, 0xEE, 0, 10, 0)},
        {"빔 라이플", 118, weapon(2200, 10, 0x21, 2, 5, 0xFB, 8, 0, 0)},
        {"하이퍼 바주카", 238, weapon(2600, -5, 0x12, 2, 4, 0xEA, 4, 0, 0)},
        {"호밍 미사일", 358, weapon(2000, 25, 0x10, 2, 6, 0xAF, 6, 0, 0)},
        {"플라즈마 소드", 479, weapon(3100, 5, 0x30, 1, 1, 0xE4, 0, 20, 110)},
        {"메가 캐논", 599, weapon(4200, -10, 0x23, 3, 7, 0xAA, 0, 40, 120)},
        {"와이어 앵커", 840, weapon(900, 30, 0x10, 1, 3, 0xFF, 10, 0, 0)},
        {"그래비티 블래스트", 1081, weapon(4800, -15, 0x43, 2, 8, 0x5F, 2, 0, 130)},
        {"스타폴 킥", 1203, weapon(2800, 10, 0x32, 1, 1, 0xE0, 0, 0, 105)},
        {"핀 판넬", 1285, weapon(3000, 20, 0x21, 2, 7, 0x0F, 0, 30, 115)},
        {"솔라 레이", 1322, weapon(5200, 0, 0x33, 3, 9, 0x3F, 0, 60, 125)},
        {"트윈 블레이드", 1443, weapon(3400, 10, 0x30, 1, 2, 0xEE, 0, 15, 100)},
        {"오로라 웨이브", 1448, weapon(4600, -5, 0x22, 2, 6, 0xBB, 0, 45, 120)},
        {"노바 버스트", 1563, weapon(6000, -20, 0x43, 1, 5, 0xFF, 1, 80, 140)},
        {"코멧 스트라이크", 1564, weapon(5500, 5, 0x33, 1, 3, 0xFE, 0, 50, 130)},
        {"퀘이사 캐논", 1600, weapon(6500, -10, 0x23, 3, 10, 0x3F, 0, 90, 150)},
        {"최종 병기", 1610, weapon(9999, 30, 0x3F, 1, 12, 0xFF, 1, 100, 150)},
    };
}

} // namespace

const std::vector<DemoUnit>& demoUnits() {
    static const std::vector<DemoUnit> units = buildUnits();
    return units;
}

const std::vector<DemoWeapon>& demoWeapons() {
    static const std::vector<DemoWeapon> weapons = buildWeapons();
    return weapons;
}

const std::array<std::array<std::uint16_t, 10>, 9>& demoUpgradeRows() {
    static const std::array<std::array<std::uint16_t, 10>, 9> rows = {{
        {200, 200, 250, 250, 300, 300, 350, 350, 400, 500}, // HP
        {10, 10, 10, 15, 15, 15, 20, 20, 20, 30},           // EN
        {2, 2, 2, 3, 3, 3, 4, 4, 4, 5},                     // mobility
        {40, 40, 50, 50, 60, 60, 70, 70, 80, 100},          // armor
        {5, 5, 5, 5, 10, 10, 10, 10, 15, 20},               // limit
        {100, 100, 100, 100, 150, 150, 150, 150, 200, 250}, // type A
        {80, 80, 80, 120, 120, 120, 160, 160, 160, 200},    // type B
        {120, 120, 120, 120, 120, 180, 180, 180, 180, 240}, // type C
        {60, 60, 90, 90, 120, 120, 150, 150, 180, 220},     // type D
    }};
    return rows;
}

} // namespace starfall::demo
