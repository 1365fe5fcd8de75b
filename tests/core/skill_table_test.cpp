#include "core/codec/Cp949.h"
#include "core/io/ImageAccess.h"
#include "core/skill/SkillFields.h"
#include "core/skill/SkillTableFile.h"
#include "core/skill/SkillTableLayout.h"

#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <numeric>

namespace starfall {
namespace {

using test::changedPositions;
using test::readFile;
using test::SyntheticImage;
using test::TempDir;

std::string name(std::string_view utf8) {
    return cp949::fromUtf8(utf8);
}

std::vector<Position> run(Position first, int count) {
    std::vector<Position> positions(static_cast<std::size_t>(count));
    std::iota(positions.begin(), positions.end(), first);
    return positions;
}

// n slots of code 40 + k, level k (k from 1), then the ending zero.
SyntheticImage withSlots(Position size, Position t, int n) {
    auto image = SyntheticImage::flat(size, 0xEE);
    for (int k = 1; k <= n; ++k) {
        image.place(t + 2 * (k - 1),
                    {static_cast<std::uint8_t>(40 + k), static_cast<std::uint8_t>(k)});
    }
    return image.place(t + 2 * n, {0});
}

// Picks another skill and level in every slot, so that each byte written changes.
void editAll(SkillTable& table) {
    for (SkillSlot& slot : table.slots) {
        slot.skill = ListChoice::item(50);
        slot.level = "300";
    }
}

class SkillTableTest : public ::testing::Test {
protected:
    static constexpr Position T = 500;
    TempDir m_dir;
    std::string m_path = m_dir.file("skills.img");
};

TEST(SkillItems, CodesAndTexts) {
    struct Row {
        int code;
        std::string_view text;
    };
    const Row rows[] = {{33, "NT Lv1"},     {41, "NT Lv9"},     {46, "强化人间 Lv5"},
                        {51, "圣战士 Lv1"}, {68, "盾防御 Lv9"}, {69, "剑切 Lv1"},
                        {78, "底力"},       {79, "明镜止水"},   {80, "高速移动"},
                        {81, "天才"},       {82, "GUT1"},       {83, "GUT2"}};
    // One slot, read from its code and a level of 1.
    const SkillTable shape{"x", 0, {SkillSlot{}}, {}};
    const auto layout = skillLayout(shape);
    const auto read = [&](int code) { return layout.decode(std::vector<int>{code, 1}, shape); };
    for (const Row& row : rows) {
        const SkillTable table = read(row.code);
        const auto choice = table.slots[0].skill;
        ASSERT_TRUE(choice.index()) << row.code;
        EXPECT_EQ(SkillItems::kItems[static_cast<std::size_t>(*choice.index())], row.text);
        EXPECT_EQ(layout.encode(table)[0], row.code);
    }
    EXPECT_EQ(read(32).slots[0].skill, ListChoice::unlisted(32));
    EXPECT_EQ(read(84).slots[0].skill, ListChoice::unlisted(84));
    SkillTable unlisted = read(33);
    unlisted.slots[0].skill = ListChoice::unlisted(200);
    EXPECT_EQ(layout.encode(unlisted)[0], 200);
}

TEST(SkillTableLayout, SlotPositionsAndTheStretchOfDuo) {
    const std::string duo = name("듀오");
    EXPECT_EQ(skillSlotPositions(name("아무로"), 100, 6), (SkillSlotPositions{110, 111}));
    EXPECT_EQ(skillSlotPositions(duo, 100, 4), (SkillSlotPositions{106, 107}));
    EXPECT_EQ(skillSlotPositions(duo, 100, 5), (SkillSlotPositions{108, 109}));
    EXPECT_EQ(skillSlotPositions(duo, 100, 6), (SkillSlotPositions{414, 415}));
    EXPECT_EQ(skillSlotPositions(duo, 100, 19), (SkillSlotPositions{440, 441}));
    // Slot 5's level would lie in sector framing at T + 9: it is one gap on.
    EXPECT_EQ(skillSlotPositions(duo, 2063, 5), (SkillSlotPositions{2071, 2376}));
    EXPECT_EQ(skillSlotPositions(duo, 2062, 5), (SkillSlotPositions{2070, 2071}));
    EXPECT_EQ(skillSlotPositions(duo, 2063 + 2351, 5), (SkillSlotPositions{4422, 4423}));
    EXPECT_EQ(skillSlotPositions(name("듀오 "), 100, 6), (SkillSlotPositions{110, 111}));
}

TEST(SkillTableLayout, LocksFollowTheNamesByteForByte) {
    EXPECT_TRUE(isSkillSlotLocked(name("레즌"), 1));
    EXPECT_FALSE(isSkillSlotLocked(name("레즌"), 8));
    EXPECT_FALSE(isSkillSlotLocked(name("레즌 "), 1));
    EXPECT_TRUE(isSkillSlotLocked(name("도몬"), 8));
    EXPECT_TRUE(isSkillSlotLocked(name("도몬 카슈"), 8));
    EXPECT_TRUE(isSkillSlotLocked(name("X도몬"), 8));
    EXPECT_FALSE(isSkillSlotLocked(name("도몬"), 1));
    // B0B5 B5B8 F3A1 holds the bytes of "도몬" (B5B5 B8F3) off a character boundary.
    const std::string straddle = name("갠돋鏶");
    ASSERT_NE(straddle.find(name("도몬")), std::string::npos);
    EXPECT_FALSE(isSkillSlotLocked(straddle, 8));
}

TEST(SkillTableLayout, ProtagonistEntriesOpenTheirTableAtTwelve) {
    for (const char* protagonist :
         {"주인공 특기(리얼)", "주인공 특기(슈퍼)", "부주인공 특기(리얼)", "부주인공 특기(슈퍼)"})
        EXPECT_EQ(skillTablePosition(name(protagonist), 1000), 1012) << protagonist;
    for (const char* other : {"주인공 특기", "주인공 특기(리얼) ", "아무로", ""})
        EXPECT_EQ(skillTablePosition(name(other), 1000), 1026) << other;
}

TEST_F(SkillTableTest, ReadsUpToTheEndingZeroAndWritesOnlyThoseSlots) {
    const auto image = withSlots(1000, T, 3);
    image.saveTo(m_path);
    SkillTable table = loadSkillTable(m_path, name("아무로"), T);
    ASSERT_EQ(table.slots.size(), 3u);
    EXPECT_EQ(table.slots[0], (SkillSlot{ListChoice::item(8), "1", false}));
    editAll(table);
    saveSkillTable(m_path, table);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), run(T, 6));
    EXPECT_EQ(readBytes(m_path, run(T, 2)), (std::vector<int>{83, 44}));
}

TEST_F(SkillTableTest, ASecondSaveComparesAgainstWhatTheFirstWrote) {
    const auto image = withSlots(1000, T, 3);
    image.saveTo(m_path);
    SkillTable table = loadSkillTable(m_path, name("아무로"), T);
    table.slots[0].level = "77";
    saveSkillTable(m_path, table);
    EXPECT_EQ(readBytes(m_path, std::vector<Position>{T + 1}), std::vector<int>{77});
    table.slots[0].level = "1"; // back to what the load read
    saveSkillTable(m_path, table);
    EXPECT_EQ(readFile(m_path), image.bytes());
}

TEST_F(SkillTableTest, NoSlotsWritesNothing) {
    const auto image = withSlots(1000, T, 0);
    image.saveTo(m_path);
    SkillTable table = loadSkillTable(m_path, name("아무로"), T);
    EXPECT_TRUE(table.slots.empty());
    saveSkillTable(m_path, table);
    EXPECT_EQ(readFile(m_path), image.bytes());
}

TEST_F(SkillTableTest, NineteenSlotsAtMostAndNothingBeyond) {
    auto image = SyntheticImage::flat(1000, 0xEE);
    for (int k = 0; k < 20; ++k)
        image.place(T + 2 * k, {static_cast<std::uint8_t>(33 + k), 5});
    image.saveTo(m_path);
    SkillTable table = loadSkillTable(m_path, name("아무로"), T);
    ASSERT_EQ(table.slots.size(), 19u);
    EXPECT_EQ(table.slots[18].skill, ListChoice::item(18));
    editAll(table);
    saveSkillTable(m_path, table);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), run(T, 38));
}

TEST_F(SkillTableTest, LockedSlotsAreShownButNeverWritten) {
    const auto image = withSlots(1000, T, 10);
    image.saveTo(m_path);
    SkillTable rezun = loadSkillTable(m_path, name("레즌"), T);
    ASSERT_EQ(rezun.slots.size(), 10u);
    EXPECT_TRUE(rezun.slots[0].locked);
    editAll(rezun);
    rezun.slots.resize(5);
    saveSkillTable(m_path, rezun);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), run(T + 2, 8));

    image.saveTo(m_path);
    SkillTable domon = loadSkillTable(m_path, name("도몬 카슈"), T);
    EXPECT_TRUE(domon.slots[7].locked);
    EXPECT_FALSE(domon.slots[0].locked);
    editAll(domon);
    saveSkillTable(m_path, domon);
    std::vector<Position> written = run(T, 14);
    for (Position p : run(T + 16, 4))
        written.push_back(p);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), written);
}

TEST_F(SkillTableTest, DuoAcrossASectorBoundaryOnARawImage) {
    // Slot 5's code is the last data byte of sector 0: its level and slot 6
    // begin sector 1's data, as the stream carries them.
    const Position logical = 2047 - 8;
    auto image = SyntheticImage::rawSectors(3, 0xEE);
    image.layStream(logical, {33, 1, 34, 2, 35, 3, 36, 4, 37, 5, 38, 6, 0});
    image.saveTo(m_path);
    const Position t = SyntheticImage::rawPosition(logical);
    SkillTable table = loadSkillTable(m_path, name("듀오"), t);
    ASSERT_EQ(table.slots.size(), 6u);
    EXPECT_EQ(table.slots[4], (SkillSlot{ListChoice::item(4), "5", false}));
    EXPECT_EQ(table.slots[5], (SkillSlot{ListChoice::item(5), "6", false}));
    editAll(table);
    saveSkillTable(m_path, table);
    std::vector<Position> written = run(t, 9);
    for (Position p : run(t + 9 + 304, 3))
        written.push_back(p);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), written);
    EXPECT_EQ(skillTableSavePositions(table), written);
}

TEST_F(SkillTableTest, DuoWithTheBoundaryAfterSlotFive) {
    const Position logical = 2047 - 9;
    auto image = SyntheticImage::rawSectors(3, 0xEE);
    image.layStream(logical, {33, 1, 34, 2, 35, 3, 36, 4, 37, 5, 38, 6, 0});
    image.saveTo(m_path);
    const Position t = SyntheticImage::rawPosition(logical);
    SkillTable table = loadSkillTable(m_path, name("듀오"), t);
    ASSERT_EQ(table.slots.size(), 6u);
    EXPECT_EQ(table.slots[4].level, "5");
    EXPECT_EQ(table.slots[5].skill, ListChoice::item(5));
    editAll(table);
    saveSkillTable(m_path, table);
    std::vector<Position> written = run(t, 10);
    for (Position p : run(t + 10 + 304, 2))
        written.push_back(p);
    EXPECT_EQ(changedPositions(image.bytes(), readFile(m_path)), written);
}

TEST_F(SkillTableTest, UnlistedCodesAndLevelsGoBackAsStored) {
    auto image = SyntheticImage::flat(1000, 0xEE).place(T, {5, 0, 200, 120, 79, 1, 0});
    image.saveTo(m_path);
    SkillTable table = loadSkillTable(m_path, name("아무로"), T);
    ASSERT_EQ(table.slots.size(), 3u);
    EXPECT_EQ(table.slots[0].skill, ListChoice::unlisted(5));
    EXPECT_EQ(table.slots[1].skill, ListChoice::unlisted(200));
    EXPECT_EQ(table.slots[2].skill, ListChoice::item(46)); // "明镜止水"
    saveSkillTable(m_path, table);
    EXPECT_EQ(readFile(m_path), image.bytes());
    table.slots[1].skill = ListChoice::item(0);
    table.slots[0].level = "300";
    saveSkillTable(m_path, table);
    EXPECT_EQ(readBytes(m_path, run(T, 4)), (std::vector<int>{5, 44, 33, 120}));
}

TEST_F(SkillTableTest, TheEndOfTheImageEndsTheTable) {
    // A save of the slots read must not extend the image.
    auto image = SyntheticImage::flat(T + 5, 0xEE).place(T, {40, 1, 41, 2, 42});
    image.saveTo(m_path);
    SkillTable table = loadSkillTable(m_path, name("아무로"), T);
    EXPECT_EQ(table.slots.size(), 2u);
    editAll(table);
    saveSkillTable(m_path, table);
    EXPECT_EQ(readFile(m_path).size(), static_cast<std::size_t>(T + 5));
    EXPECT_TRUE(loadSkillTable(m_path, name("아무로"), T + 10).slots.empty());
}

// Layouts are kept by shape. Each table must get the layout of its own slots,
// locks and read length, never one kept for a table that differs in any of
// them; tables alike share one.
TEST(SkillLayouts, EachTableGetsTheLayoutOfItsOwnShape) {
    const auto table = [](std::string_view utf8, Position start, std::vector<bool> locks) {
        SkillTable t{name(utf8), start, {}, {}};
        for (const bool locked : locks)
            t.slots.push_back({ListChoice::none(), {}, locked});
        return t;
    };
    const Position nearLimit = kPositionLimit - 10; // reads five slots
    struct Case {
        SkillTable table;
        bool withLocked;
    };
    const Case cases[] = {
        {table("아무로", 500, {false, false}), false},
        {table("아무로", 500, {false, false, false}), false},
        {table("레즌", 500, {true, false, false}), false},
        {table("레즌", 500, {true, false, false}), true},
        {table("아무로", nearLimit, {false, false, false}), false},
        {table("도몬", 500, std::vector<bool>(7, false)), false},
        {table("도몬", 500, {false, false, false, false, false, false, false, true}), false},
        {table("도몬", 500, {false, false, false, false, false, false, false, true}), true},
        {table("아무로", 500, {}), false},
    };
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            const SkillTable& t = c.table;
            std::vector<std::string> expected;
            for (std::size_t i = 0; i < t.slots.size(); ++i) {
                if (t.slots[i].locked && !c.withLocked)
                    continue;
                for (const char* part : {".skill", ".level"})
                    expected.push_back("slots." + std::to_string(i + 1) + part);
            }
            const auto& layout = skillLayout(t, c.withLocked);
            std::vector<std::string> keys;
            for (const auto& field : layout.fields())
                keys.push_back(field.key);
            const std::string what = std::to_string(t.slots.size()) + " slots of " + t.name +
                                     (c.withLocked ? ", locked ones too" : "");
            EXPECT_EQ(keys, expected) << what;
            EXPECT_EQ(layout.offsets().size(), skillTableReadPositions(t.name, t.start).size())
                << what;
        }
    }
    const SkillTable one = table("아무로", 500, {false, false});
    const SkillTable alike = table("카미유", 900, {false, false});
    EXPECT_EQ(&skillLayout(one), &skillLayout(alike));
    // With the locked slots in, locks change no field: one layout serves both.
    const SkillTable locked = table("레즌", 700, {true, false});
    EXPECT_EQ(&skillLayout(one, true), &skillLayout(locked, true));
    EXPECT_NE(&skillLayout(one, false), &skillLayout(locked, false));
}

} // namespace
} // namespace starfall
