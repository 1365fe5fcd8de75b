#include "core/demo/DemoContent.h"

namespace starfall::demo {

namespace {

std::vector<DemoUnit> buildUnits() {
    return {
        {"스타폴 1호기",
         100,
         "movement=6; parts_slots=4个; movement_type=宇宙; terrain.air=A; "
         "terrain.space=B; terrain.land=B; terrain.sea=A; armor=1100; "
         "mobility=110; limit=260; en=180; hp=3800; abilities.1=빔코트; "
         "abilities.2=HP회복(소); abilities.3=없음; abilities.4=없음; "
         "repair_cost=1500",
         {0, 117, 118, 238}},
        {"스타폴 2호기",
         200,
         "movement=7; parts_slots=3个; movement_type=空中; terrain.air=A; "
         "terrain.space=A; terrain.land=C; terrain.sea=A; armor=1200; "
         "mobility=115; limit=270; en=200; hp=4200; abilities.1=I필드; "
         "abilities.2=HP회복(대); abilities.3=변형; abilities.4=없음; "
         "repair_cost=1800",
         {479, 599, 840}},
        {"그레이 울프",
         400,
         "movement=5; parts_slots=3个; movement_type=陆地; terrain.air=C; "
         "terrain.space=B; terrain.land=A; terrain.sea=C; armor=900; "
         "mobility=95; limit=220; en=150; hp=3000; abilities.1=없음; "
         "abilities.2=없음; abilities.3=없음; abilities.4=없음; repair_cost=900",
         {1081, 1203, 1285},
         0x08,
         {{1, 0xC0}}}, // bits 7-6 of the packed byte, which no field owns
        // Whatever the list stores third, the editor shows weapon 1203 here.
        {"디오",
         600,
         "movement=6; parts_slots=2个; movement_type=空陆; terrain.air=B; "
         "terrain.space=A; terrain.land=A; terrain.sea=B; armor=1300; "
         "mobility=120; limit=280; en=190; hp=4500; abilities.1=분신; "
         "abilities.2=수퍼모드; abilities.3=없음; abilities.4=없음; repair_cost=2100",
         {117, 118, 238, 479}},
        {"네뷸라 캐논",
         800,
         "movement=4; parts_slots=1个; movement_type=宇宙; terrain.air=--; "
         "terrain.space=A; terrain.land=--; terrain.sea=A; armor=1500; "
         "mobility=90; limit=240; en=220; hp=5200; abilities.1=오라 바리어; "
         "abilities.2=AT필드; abilities.3=S2기관; abilities.4=합체; repair_cost=2500",
         {358, 1322, 1443, 1448}},
        {"오로라 포트리스",
         1000,
         "movement=5; parts_slots=2个; movement_type=水中; terrain.air=C; "
         "terrain.space=--; terrain.land=A; terrain.sea=A; armor=1700; "
         "mobility=85; limit=230; en=260; hp=6800; abilities.1=이데아 바리어; "
         "abilities.2=폭주; abilities.3=분리; abilities.4=버서커모드; repair_cost=3000",
         {1563, 1564, 1600, 1610}},
        // The five split records and the units whose weapon list moves.
        {"단쿠가",
         1510,
         "movement=7; parts_slots=4个; movement_type=水空; terrain.air=A; "
         "terrain.space=B; terrain.land=B; terrain.sea=B; armor=1250; "
         "mobility=125; limit=285; en=170; hp=4100; abilities.1=게타비젼; "
         "abilities.2=없음; abilities.3=없음; abilities.4=없음; repair_cost=2200",
         {0, 599}},
        {"시리우스",
         10922,
         "movement=6; parts_slots=2个; movement_type=空中; terrain.air=A; "
         "terrain.space=A; terrain.land=C; terrain.sea=C; armor=1150; "
         "mobility=112; limit=265; en=175; hp=3900; abilities.1=빔코트; "
         "abilities.2=마하스페샬; abilities.3=없음; abilities.4=없음; repair_cost=1600",
         {840}},
        {"카시오페아",
         13268,
         "movement=6; parts_slots=3个; movement_type=水陆; terrain.air=A; "
         "terrain.space=C; terrain.land=A; terrain.sea=C; armor=1180; "
         "mobility=108; limit=255; en=185; hp=4000; abilities.1=I필드; "
         "abilities.2=진.게타비젼; abilities.3=없음; abilities.4=없음; repair_cost=1700",
         {1081}},
        {"베가 커맨더",
         8562,
         "movement=5; parts_slots=4个; movement_type=陆地; terrain.air=B; "
         "terrain.space=A; terrain.land=B; terrain.sea=A; armor=1350; "
         "mobility=100; limit=250; en=210; hp=4800; abilities.1=없음; "
         "abilities.2=HP회복(대); abilities.3=없음; abilities.4=없음; "
         "repair_cost=2400",
         {238}},
        {"알타이르",
         6208,
         "movement=6; parts_slots=3个; movement_type=陆地中; terrain.air=A; "
         "terrain.space=B; terrain.land=C; terrain.sea=B; armor=1050; "
         "mobility=118; limit=262; en=165; hp=3600; abilities.1=S2기관; "
         "abilities.2=빔코트; abilities.3=HP회복(소); abilities.4=I필드; "
         "repair_cost=1400",
         {479}},
        {"데네브",
         22672,
         "movement=6; parts_slots=3个; movement_type=水空; terrain.air=B; "
         "terrain.space=A; terrain.land=B; terrain.sea=C; armor=1080; "
         "mobility=116; limit=258; en=168; hp=3700; abilities.1=변형; "
         "abilities.2=분리; abilities.3=합체; abilities.4=없음; repair_cost=1450",
         {599}},
        {"리가즈이",
         17948,
         "movement=7; parts_slots=2个; movement_type=空中; terrain.air=A; "
         "terrain.space=A; terrain.land=D; terrain.sea=A; armor=1000; "
         "mobility=122; limit=275; en=160; hp=3400; abilities.1=없음; "
         "abilities.2=없음; abilities.3=없음; abilities.4=없음; repair_cost=1300",
         {0, 117, 118, 238, 479}},
        {"양산형 뉴건담(판넬)",
         3832,
         "movement=6; parts_slots=3个; movement_type=空中; terrain.air=B; "
         "terrain.space=B; terrain.land=B; terrain.sea=B; armor=1220; "
         "mobility=114; limit=268; en=178; hp=3950; abilities.1=빔코트; "
         "abilities.2=없음; abilities.3=없음; abilities.4=없음; repair_cost=1900",
         {599, 840, 1081, 1203, 1322}},
        {"아슈라템플",
         15600,
         "movement=5; parts_slots=4个; movement_type=水中; terrain.air=B; "
         "terrain.space=B; terrain.land=A; terrain.sea=B; armor=1400; "
         "mobility=105; limit=248; en=205; hp=5000; abilities.1=폭주; "
         "abilities.2=버서커모드; abilities.3=없음; abilities.4=없음; repair_cost=2600",
         {1443, 1448, 1563}},
    };
}

std::vector<DemoWeapon> buildWeapons() {
    return {
        {"벌컨", 0,
         "attack=600; hit=20; critical=0; upgrade_type=A 型; range_near=1; "
         "range_far=2; terrain.air=A; terrain.space=A; terrain.land=A; "
         "terrain.sea=A; ammo=20; en=0; morale=0"},
        {"빔 사벨", 117,
         "attack=1800; hit=15; critical=20; upgrade_type=B 型; range_near=1; "
         "range_far=1; terrain.air=A; terrain.space=B; terrain.land=A; "
         "terrain.sea=B; ammo=0; en=10; morale=0"},
        {"빔 라이플", 118,
         "attack=2200; hit=10; critical=10; upgrade_type=B 型; range_near=2; "
         "range_far=5; terrain.air=B; terrain.space=A; terrain.land=A; "
         "terrain.sea=A; ammo=8; en=0; morale=0"},
        {"하이퍼 바주카", 238,
         "attack=2600; hit=-5; critical=0; upgrade_type=C 型; range_near=2; "
         "range_far=4; terrain.air=B; terrain.space=B; terrain.land=A; "
         "terrain.sea=B; ammo=4; en=0; morale=0"},
        {"호밍 미사일", 358,
         "attack=2000; hit=25; critical=0; upgrade_type=A 型; range_near=2; "
         "range_far=6; terrain.air=A; terrain.space=A; terrain.land=B; "
         "terrain.sea=B; ammo=6; en=0; morale=0"},
        {"플라즈마 소드", 479,
         "attack=3100; hit=5; critical=20; upgrade_type=A 型; range_near=1; "
         "range_far=1; terrain.air=C; terrain.space=--; terrain.land=A; "
         "terrain.sea=B; ammo=0; en=20; morale=110"},
        {"메가 캐논", 599,
         "attack=4200; hit=-10; critical=10; upgrade_type=D 型; range_near=3; "
         "range_far=7; terrain.air=B; terrain.space=B; terrain.land=B; "
         "terrain.sea=B; ammo=0; en=40; morale=120"},
        {"와이어 앵커", 840,
         "attack=900; hit=30; critical=0; upgrade_type=A 型; range_near=1; "
         "range_far=3; terrain.air=A; terrain.space=A; terrain.land=A; "
         "terrain.sea=A; ammo=10; en=0; morale=0"},
        {"그래비티 블래스트", 1081,
         "attack=4800; hit=-15; critical=-20; upgrade_type=D 型; range_near=2; "
         "range_far=8; terrain.air=A; terrain.space=A; terrain.land=C; "
         "terrain.sea=C; ammo=2; en=0; morale=130"},
        {"스타폴 킥", 1203,
         "attack=2800; hit=10; critical=20; upgrade_type=C 型; range_near=1; "
         "range_far=1; terrain.air=--; terrain.space=--; terrain.land=A; "
         "terrain.sea=B; ammo=0; en=0; morale=105"},
        {"핀 판넬", 1285,
         "attack=3000; hit=20; critical=10; upgrade_type=B 型; range_near=2; "
         "range_far=7; terrain.air=A; terrain.space=A; terrain.land=--; "
         "terrain.sea=--; ammo=0; en=30; morale=115"},
        {"솔라 레이", 1322,
         "attack=5200; hit=0; critical=20; upgrade_type=D 型; range_near=3; "
         "range_far=9; terrain.air=A; terrain.space=A; terrain.land=--; "
         "terrain.sea=A; ammo=0; en=60; morale=125"},
        {"트윈 블레이드", 1443,
         "attack=3400; hit=10; critical=20; upgrade_type=A 型; range_near=1; "
         "range_far=2; terrain.air=A; terrain.space=B; terrain.land=A; "
         "terrain.sea=B; ammo=0; en=15; morale=100"},
        {"오로라 웨이브", 1448,
         "attack=4600; hit=-5; critical=10; upgrade_type=C 型; range_near=2; "
         "range_far=6; terrain.air=B; terrain.space=A; terrain.land=B; "
         "terrain.sea=A; ammo=0; en=45; morale=120"},
        {"노바 버스트", 1563,
         "attack=6000; hit=-20; critical=-20; upgrade_type=D 型; range_near=1; "
         "range_far=5; terrain.air=A; terrain.space=A; terrain.land=A; "
         "terrain.sea=A; ammo=1; en=80; morale=140"},
        {"코멧 스트라이크", 1564,
         "attack=5500; hit=5; critical=20; upgrade_type=D 型; range_near=1; "
         "range_far=3; terrain.air=A; terrain.space=B; terrain.land=A; "
         "terrain.sea=A; ammo=0; en=50; morale=130"},
        {"퀘이사 캐논", 1600,
         "attack=6500; hit=-10; critical=10; upgrade_type=D 型; range_near=3; "
         "range_far=10; terrain.air=A; terrain.space=A; terrain.land=--; "
         "terrain.sea=A; ammo=0; en=90; morale=150"},
        {"최종 병기", 1610,
         "attack=9999; hit=30; critical=20; upgrade_type=#15; range_near=1; "
         "range_far=12; terrain.air=A; terrain.space=A; terrain.land=A; "
         "terrain.sea=A; ammo=1; en=100; morale=150"},
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
