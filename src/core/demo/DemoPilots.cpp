#include "core/demo/DemoContent.h"

#include "core/pilot/PilotFields.h"

namespace starfall::demo {

namespace {

std::vector<DemoPilot> buildPilots() {
    return {
        {"카인 벨", 100,
         "terrain.air=A; terrain.space=B; terrain.land=B; terrain.sea=C; "
         "melee=160; shooting=148; hit=172; evasion=165; sp=60; skill=150; "
         "reaction=168; spirits.1.command=必中; spirits.1.level=1; "
         "spirits.2.command=必闪; spirits.2.level=5; spirits.3.command=热血; "
         "spirits.3.level=12; spirits.4.command=觉醒; spirits.4.level=20; "
         "spirits.5.command=魂; spirits.5.level=31; spirits.6.command=幸运; "
         "spirits.6.level=40; personality=普通",
         "NT Lv1=1; NT Lv2=9; NT Lv3=18; 底力=1; 高速移动=25"},
        {"세라 윈", 200,
         "terrain.air=B; terrain.space=A; terrain.land=A; terrain.sea=C; "
         "melee=132; shooting=171; hit=180; evasion=150; sp=72; skill=140; "
         "reaction=155; spirits.1.command=爱; spirits.1.level=1; "
         "spirits.2.command=集中; spirits.2.level=3; spirits.3.command=补给; "
         "spirits.3.level=9; spirits.4.command=信赖; spirits.4.level=17; "
         "spirits.5.command=复活; spirits.5.level=26; spirits.6.command=奇迹; "
         "spirits.6.level=38; personality=强气",
         "盾防御 Lv1=1; 盾防御 Lv2=12; 盾防御 Lv3=24; 明镜止水=30"},
        {"리오 하젤", 300,
         "terrain.air=B; terrain.space=B; terrain.land=B; terrain.sea=B; "
         "melee=140; shooting=140; hit=150; evasion=150; sp=55; skill=130; "
         "reaction=140; spirits.1.command=根性; spirits.1.level=1; "
         "spirits.2.command=气合; spirits.2.level=2; spirits.3.command=加速; "
         "spirits.3.level=8; spirits.4.command=激励; spirits.4.level=15; "
         "spirits.5.command=铁壁; spirits.5.level=23; spirits.6.command=梦; "
         "spirits.6.level=34; personality=弱气",
         "强化人间 Lv1=1; 强化人间 Lv2=15"},
        // The first slot of this pilot's skill table is locked on the page.
        {"레즌", 400,
         "terrain.air=A; terrain.space=A; terrain.land=A; terrain.sea=D; "
         "melee=170; shooting=150; hit=165; evasion=160; sp=64; skill=158; "
         "reaction=172; spirits.1.command=热血; spirits.1.level=1; "
         "spirits.2.command=必中; spirits.2.level=6; spirits.3.command=气合; "
         "spirits.3.level=14; spirits.4.command=超根性; spirits.4.level=22; "
         "spirits.5.command=再动; spirits.5.level=30; spirits.6.command=魂; "
         "spirits.6.level=41; personality=超强气",
         "NT Lv1=1; NT Lv4=20; 底力=8"},
        // Slot 8 of a pilot whose name holds this word is locked.
        {"하늘도몬", 500,
         "terrain.air=A; terrain.space=B; terrain.land=A; terrain.sea=B; "
         "melee=185; shooting=120; hit=160; evasion=158; sp=70; skill=160; "
         "reaction=166; spirits.1.command=气合; spirits.1.level=1; "
         "spirits.2.command=热血; spirits.2.level=4; spirits.3.command=铁壁; "
         "spirits.3.level=11; spirits.4.command=觉醒; spirits.4.level=19; "
         "spirits.5.command=魂; spirits.5.level=27; spirits.6.command=再动; "
         "spirits.6.level=36; personality=超强气",
         "剑切 Lv1=1; 剑切 Lv2=5; 剑切 Lv3=10; 剑切 Lv4=15; 剑切 Lv5=20; 剑切 Lv6=25; "
         "剑切 Lv7=30; 明镜止水=1; 高速移动=35"},
        {"미나 로크", 600,
         "terrain.air=C; terrain.space=A; terrain.land=C; terrain.sea=D; "
         "melee=110; shooting=135; hit=140; evasion=175; sp=80; skill=120; "
         "reaction=150; spirits.1.command=必闪; spirits.1.level=1; "
         "spirits.2.command=友情; spirits.2.level=7; spirits.3.command=信赖; "
         "spirits.3.level=13; spirits.4.command=援助; spirits.4.level=21; "
         "spirits.5.command=奇迹; spirits.5.level=29; spirits.6.command=复活; "
         "spirits.6.level=45; personality=弱气",
         "圣战士 Lv1=1; 圣战士 Lv2=10; 圣战士 Lv3=20; 圣战士 Lv4=30; 圣战士 Lv5=40; "
         "圣战士 Lv6=50; 圣战士 Lv7=60; 圣战士 Lv8=70; 圣战士 Lv9=80; 底力=1; 明镜止水=1; "
         "高速移动=1; "
         "天才=1; GUT1=1; GUT2=1; 盾防御 Lv1=1; 盾防御 Lv2=1; 盾防御 Lv3=1; 盾防御 Lv4=1"},
        // A table that runs out of its sector: slot 5's level and slot 6 lie
        // behind the framing.
        {"듀오", 1453,
         "terrain.air=A; terrain.space=C; terrain.land=B; terrain.sea=A; "
         "melee=150; shooting=150; hit=155; evasion=170; sp=58; skill=145; "
         "reaction=160; spirits.1.command=必闪; spirits.1.level=1; "
         "spirits.2.command=幸运; spirits.2.level=5; spirits.3.command=加速; "
         "spirits.3.level=12; spirits.4.command=自爆; spirits.4.level=19; "
         "spirits.5.command=觉醒; spirits.5.level=28; spirits.6.command=魂; "
         "spirits.6.level=39; personality=强气",
         "强化人间 Lv1=1; 强化人间 Lv2=8; 强化人间 Lv3=16; 强化人间 Lv4=24; 强化人间 Lv5=32; "
         "强化人间 Lv6=40; 明镜止水=12"},
        // The four protagonist entries open their skill table at P + 12.
        {"주인공 특기(리얼)", 700, "personality=普通", "NT Lv1=1; NT Lv2=10; 高速移动=1"},
        {"주인공 특기(슈퍼)", 760, "personality=普通", "底力=1; GUT2=20"},
        {"부주인공 특기(리얼)", 820, "personality=普通", "盾防御 Lv1=1; 盾防御 Lv2=15"},
        {"부주인공 특기(슈퍼)", 880, "personality=普通", "剑切 Lv1=1; 明镜止水=22"},
        // Stat-only and spirit-only records.
        {"보급 하사관", 2786,
         "terrain.air=C; terrain.space=C; terrain.land=C; terrain.sea=C; "
         "melee=90; shooting=95; hit=110; evasion=105; skill=100; reaction=110; "
         "personality=普通",
         ""},
        {"정비 반장", 3699,
         "terrain.air=C; terrain.space=D; terrain.land=B; terrain.sea=C; "
         "melee=100; shooting=85; hit=105; evasion=100; skill=96; reaction=104; "
         "personality=弱气",
         ""},
        {"지원 인공지능", 15188,
         "spirits.1.command=补给; spirits.1.level=1; spirits.2.command=信赖; "
         "spirits.2.level=1; spirits.3.command=激励; spirits.3.level=1; "
         "spirits.4.command=援助; spirits.4.level=1",
         ""},
        {"함선 지휘관", 15240,
         "spirits.1.command=加速; spirits.1.level=1; spirits.2.command=铁壁; "
         "spirits.2.level=1; spirits.3.command=激励; spirits.3.level=10; "
         "spirits.4.command=奇迹; spirits.4.level=20; spirits.5.command=再动; "
         "spirits.5.level=30; spirits.6.command=信赖; spirits.6.level=40",
         ""},
        // Split records: the stat block, and the personality byte in the
        // previous sector.
        {"경비대장", 17947,
         "terrain.air=B; terrain.space=B; terrain.land=C; terrain.sea=B; "
         "melee=130; shooting=125; hit=4660; evasion=140; skill=135; "
         "reaction=141; personality=强气",
         ""},
        {"아렌 크로스",
         4144,
         "terrain.air=A; terrain.space=A; terrain.land=B; terrain.sea=B; "
         "melee=165; shooting=160; hit=170; evasion=168; sp=66; skill=152; "
         "reaction=171; spirits.1.command=必中; spirits.1.level=1; "
         "spirits.2.command=觉醒; spirits.2.level=8; spirits.3.command=热血; "
         "spirits.3.level=16; spirits.4.command=幸运; spirits.4.level=24; "
         "spirits.5.command=魂; spirits.5.level=33; spirits.6.command=梦; "
         "spirits.6.level=45; personality=普通",
         "NT Lv4=1; NT Lv5=20",
         {{kPersonalityOffset, 0xC7}}},
        {"노아 실버",
         8850,
         "terrain.air=A; terrain.space=B; terrain.land=C; terrain.sea=A; "
         "melee=128; shooting=162; hit=168; evasion=158; sp=62; skill=148; "
         "reaction=160; spirits.1.command=集中; spirits.1.level=1; "
         "spirits.2.command=必闪; spirits.2.level=4; spirits.3.command=爱; "
         "spirits.3.level=10; spirits.4.command=友情; spirits.4.level=18; "
         "spirits.5.command=努力; spirits.5.level=25; spirits.6.command=复活; "
         "spirits.6.level=37; personality=强气",
         "天才=1",
         {{kPersonalityOffset, 0x0A}}},
        {"교관 하르트",
         15905,
         "terrain.air=B; terrain.space=B; terrain.land=B; terrain.sea=B; "
         "melee=150; shooting=150; hit=160; evasion=150; skill=170; "
         "reaction=165; personality=普通",
         "",
         {{kPersonalityOffset, 0x0F}}},
    };
}

} // namespace

const std::vector<DemoPilot>& demoPilots() {
    static const std::vector<DemoPilot> pilots = buildPilots();
    return pilots;
}

} // namespace starfall::demo
