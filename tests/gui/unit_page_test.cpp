// The unit page over synthetic images: what a load shows, the bytes a save
// writes, the one-tick rule, the search, the keys and what "武器" hands over.
#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "core/text/RecordNames.h"
#include "core/text/TraceLines.h"
#include "gui/pages/PageOwner.h"
#include "gui/pages/UnitPage.h"
#include "gui/widgets/AbilityTickList.h"
#include "support/GuiTestSupport.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <numeric>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr Position kBase = 100;
constexpr Position kImageSize = 8000;
constexpr std::uint8_t kFill = 0xAA;

// Rows of the list file used by most tests.
enum Row { kAlpha, kBeta, kDankuga, kSplit, kRowCount };
constexpr Position kAddress[] = {40, 400, 800, 6208};

Position positionOf(Row row) {
    return kBase + kAddress[row];
}

std::string unitList() {
    return "UNITS 100\n; the units\nAlpha, 40\nBeta, 400\n" + cp949::fromUtf8("단쿠가") +
           ", 800\nSplit, 6208\n";
}

// Alpha: every field a distinct value, abilities 0, 18, 1, 5.
SyntheticImage unitImage() {
    SyntheticImage image = SyntheticImage::flat(kImageSize, kFill);
    const Position p = positionOf(kAlpha);
    image.place(p - 4, {0xDC, 0x05});
    image.place(p, {5,    0x35, 0x43, 0x21, 0xE8, 0x03, 0x10, 0x00, 0x20, 0x01, 0x2C,
                    0x01, 0x10, 0x27, 0,    0,    18,   0,    1,    0,    5});
    image.place(positionOf(kBeta),
                {7, 0xE2, 0x44, 0x44, 1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 18, 0, 18, 0, 18, 0, 18});
    return image;
}

struct KeyOwner : PageOwner {
    void handleKeyDown(int key) override { keys.push_back(key); }
    std::vector<int> keys;
};

class UnitPageTest : public ::testing::Test {
protected:
    UnitPageTest() {
        dir.write("unitlist.ini", unitList());
        unitImage().saveTo(dir.file("units.img"));
        page.setTraceSink([this](std::string_view line) { traces.emplace_back(line); });
        page.setWeaponEditorOpener(
            [this](QWidget*, const WeaponHandOver& handOver) { handOvers.push_back(handOver); });
        page.setOwner(&owner);
        page.resize(700, 500);
        page.show();
        open();
    }

    void open() {
        page.setImageSession({dir.file("units.img"), dir.dir()});
        page.rebuildList();
    }

    template <typename T> T* child(const char* name) {
        T* found = page.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(name); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }
    QTableView* list() { return child<QTableView>("unitList"); }
    QString listText(int row, int column) {
        return list()->model()->index(row, column).data().toString();
    }
    std::string image() { return readFile(dir.file("units.img")); }

    std::vector<int> ticks(int list) {
        std::vector<int> rows;
        for (int row = 0; row < page.abilityList(list)->count(); ++row) {
            if (page.abilityList(list)->isTicked(row))
                rows.push_back(row);
        }
        return rows;
    }

    void pick(Row row) { list()->selectRow(row); }

    void search(const QString& text) {
        edit("searchEdit")->setText(text);
        button("goButton")->click();
    }

    TempDir dir;
    GuiSeams seams;
    KeyOwner owner;
    std::vector<std::string> traces;
    std::vector<WeaponHandOver> handOvers;
    UnitPage page;
};

TEST_F(UnitPageTest, OpeningShowsTheFirstUnitInBlueWithItsRecord) {
    EXPECT_EQ(page.currentRow(), 0);
    QLabel* name = child<QLabel>("nameLabel");
    EXPECT_EQ(name->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(name->palette().color(QPalette::WindowText), QColor(70, 30, 250));
    EXPECT_EQ(traces.back(), messages::unitTrace("Alpha", 140));

    const std::pair<const char*, const char*> texts[] = {
        {"movementEdit", "5"},      {"armorEdit", "1000"}, {"mobilityEdit", "16"},
        {"limitEdit", "288"},       {"enEdit", "300"},     {"hpEdit", "10000"},
        {"repairCostEdit", "1500"}, {"searchEdit", ""},
    };
    for (const auto& [field, text] : texts)
        EXPECT_EQ(edit(field)->text(), QString::fromLatin1(text)) << field;
    EXPECT_EQ(combo("partsSlotsCombo")->currentText(), QStringLiteral("4个"));
    EXPECT_EQ(combo("movementTypeCombo")->currentText(), QStringLiteral("宇宙"));
    const std::pair<const char*, const char*> terrain[] = {{"terrainAirCombo", "A"},
                                                           {"terrainSpaceCombo", "B"},
                                                           {"terrainLandCombo", "C"},
                                                           {"terrainSeaCombo", "D"}};
    for (const auto& [field, text] : terrain)
        EXPECT_EQ(combo(field)->currentText(), QString::fromLatin1(text)) << field;
    EXPECT_EQ(ticks(0), std::vector<int>{0});
    EXPECT_EQ(ticks(1), std::vector<int>{18});
    EXPECT_EQ(ticks(2), std::vector<int>{1});
    EXPECT_EQ(ticks(3), std::vector<int>{5});
    EXPECT_EQ(page.abilityList(1)->currentRow(), 18);
    EXPECT_EQ(page.abilityList(1)->item(18)->text(), QStringLiteral("S2기관"));
    for (const char* name : {"weaponsButton", "cancelButton", "okButton"})
        EXPECT_TRUE(button(name)->isEnabled()) << name;
}

TEST_F(UnitPageTest, ListColumnsCarryTheNameAndTheHiddenAddressText) {
    QTableView* units = list();
    ASSERT_EQ(units->model()->rowCount(), kRowCount);
    EXPECT_EQ(units->model()->headerData(0, Qt::Horizontal), QStringLiteral("유니트 이름"));
    EXPECT_EQ(units->model()->headerData(1, Qt::Horizontal), QStringLiteral("유니트 주소"));
    EXPECT_EQ(units->columnWidth(0), 110);
    EXPECT_TRUE(units->isColumnHidden(1));
    EXPECT_EQ(listText(kDankuga, 0), QStringLiteral("단쿠가"));
    EXPECT_EQ(listText(kBeta, 1), QStringLiteral("400\n"));
}

// Each save case: the unit, and the offsets from P of the 20 bytes it writes.
struct SaveCase {
    Row row;
    std::vector<Position> offsets;
};

std::vector<Position> offsetRange(Position first, Position last) {
    std::vector<Position> offsets(static_cast<std::size_t>(last - first + 1));
    std::iota(offsets.begin(), offsets.end(), first);
    return offsets;
}

std::vector<Position> joined(std::initializer_list<std::vector<Position>> parts) {
    std::vector<Position> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(UnitPageTest, ASaveWritesExactlyTheTwentyBytesOfTheRecord) {
    const SaveCase cases[] = {
        {kBeta, joined({{-4, -3}, offsetRange(0, 14), {16, 18, 20}})},
        {kDankuga, joined({{-4, -3}, offsetRange(0, 7), offsetRange(312, 318), {320, 322, 324}})},
        {kSplit, joined({{-4, -3}, offsetRange(0, 13), {318, 320, 322, 324}})},
    };
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.row);
        SyntheticImage::flat(kImageSize, kFill).saveTo(dir.file("units.img"));
        pick(c.row);
        const std::string before = image();
        for (const char* field : {"movementEdit", "armorEdit", "mobilityEdit", "limitEdit",
                                  "enEdit", "hpEdit", "repairCostEdit"})
            edit(field)->setText(field == std::string("movementEdit") ? "1" : "257");
        combo("partsSlotsCombo")->setCurrentIndex(0);
        combo("movementTypeCombo")->setCurrentIndex(0);
        for (const char* field :
             {"terrainAirCombo", "terrainSpaceCombo", "terrainLandCombo", "terrainSeaCombo"})
            combo(field)->setCurrentIndex(0);
        for (int i = 0; i < UnitPage::kAbilityListCount; ++i)
            page.abilityList(i)->setTicked(1, true);
        seams.messages.shown.clear();
        button("okButton")->click();

        const std::string after = image();
        std::vector<Position> expected;
        for (const Position offset : c.offsets)
            expected.push_back(positionOf(c.row) + offset);
        EXPECT_EQ(changedPositions(before, after), expected);
        // Kept bits 2 of the fill byte, "1个", "陆地"; every terrain "A".
        const std::uint8_t values[] = {1, 1, 1, 0x80, 0x44, 0x44};
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(static_cast<std::uint8_t>(after[static_cast<std::size_t>(expected[i])]),
                      values[i])
                << i;
        ASSERT_EQ(seams.messages.shown.size(), 1U);
        EXPECT_EQ(seams.messages.shown[0], messages::saveDone());
    }
}

TEST_F(UnitPageTest, TickingAnotherAbilityReplacesTheTickAndTheHighestTickIsSaved) {
    const Position p = positionOf(kAlpha);
    struct TickCase {
        const char* what;
        std::vector<std::pair<int, bool>> steps; // on list 1, through the tick rule
        std::vector<int> quietTicks;             // piled up past the rule
        std::vector<int> ticked;
        std::uint8_t saved;
    };
    const TickCase cases[] = {
        {"one tick replaces the other", {{1, true}}, {}, {1}, 1},
        {"the only tick taken away", {{0, false}}, {}, {}, 0},
        {"the highest of a pile", {{2, true}}, {9, 4}, {2, 4, 9}, 9},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.what);
        unitImage().saveTo(dir.file("units.img"));
        page.reloadFromImage();
        AbilityTickList* first = page.abilityList(0);
        for (const auto& [row, ticked] : c.steps)
            first->setTicked(row, ticked);
        {
            const QSignalBlocker quiet(first);
            for (const int row : c.quietTicks)
                first->setTicked(row, true);
        }
        EXPECT_EQ(ticks(0), c.ticked);
        button("okButton")->click();
        EXPECT_EQ(static_cast<std::uint8_t>(image()[static_cast<std::size_t>(p + 14)]), c.saved);
    }
}

TEST_F(UnitPageTest, RememberedRowsBelongToThePageClassAndSurviveLoads) {
    pick(kBeta); // every ability 18, as Alpha's second
    EXPECT_EQ(UnitPage::rememberedRow(1), 18);
    pick(kAlpha);
    pick(kBeta);
    for (int i = 0; i < UnitPage::kAbilityListCount; ++i)
        EXPECT_EQ(ticks(i), std::vector<int>{18}) << i;

    UnitPage another;
    another.abilityList(1)->setTicked(3, true);
    EXPECT_EQ(UnitPage::rememberedRow(1), 3);
    // This page's tick of 18 is the row the class remembered no longer.
    page.abilityList(1)->setTicked(5, true);
    EXPECT_EQ(ticks(1), (std::vector<int>{5, 18}));
}

TEST_F(UnitPageTest, SelectionChangesAndCancelReReadTheImage) {
    edit("hpEdit")->setText("1");
    pick(kBeta);
    EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("5"));
    pick(kAlpha);
    EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("10000"));

    edit("hpEdit")->setText("1");
    button("cancelButton")->click();
    EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("10000"));

    // Empty space below the rows: the selection goes, Alpha is read again
    // and stays the unit "确定" saves.
    edit("hpEdit")->setText("2");
    traces.clear();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                      QPoint(10, list()->viewport()->height() - 2));
    EXPECT_TRUE(list()->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("10000"));
    EXPECT_EQ(traces, std::vector<std::string>{messages::unitTrace("Alpha", 140)});
    EXPECT_EQ(page.currentRow(), kAlpha);
    edit("hpEdit")->setText("3");
    button("okButton")->click();
    EXPECT_EQ(image()[static_cast<std::size_t>(positionOf(kAlpha) + 12)], 3);
}

TEST_F(UnitPageTest, SearchStepsThroughMatchesAndWrapsAround) {
    // Rows 3 and 7 of ten hold "Ga".
    dir.write("unitlist.ini", "UNITS 100\nA0, 40\nA1, 40\nA2, 40\nxGa3, 40\nA4, 40\nA5, 40\n"
                              "A6, 40\nGa7, 40\nA8, 40\nA9, 40\n");
    open();
    struct Step {
        QString text;
        int row;
    };
    // A new text starts again at row 0; after the last row the search wraps.
    const Step steps[] = {{"Ga", 3}, {"Ga", 7}, {"Ga", 3}, {"A", 0}, {"A", 1},
                          {"9", 9},  {"9", 9},  {"", 0},   {"", 1}};
    for (const Step& step : steps) {
        search(step.text);
        EXPECT_EQ(page.currentRow(), step.row) << step.text.toStdString();
        EXPECT_EQ(list()->currentIndex().row(), step.row);
        EXPECT_EQ(edit("searchEdit")->text(), step.text);
    }
    // A row picked by hand does not move the search on.
    list()->selectRow(6);
    EXPECT_EQ(page.currentRow(), 6);
    search("");
    EXPECT_EQ(page.currentRow(), 2);
    EXPECT_TRUE(seams.messages.shown.empty());

    search("Zz");
    ASSERT_EQ(seams.messages.shown.size(), 1U);
    EXPECT_EQ(seams.messages.shown[0], messages::unitNotFound("Zz"));
    EXPECT_EQ(page.currentRow(), 2);
    EXPECT_EQ(child<QLabel>("nameLabel")->text(), QStringLiteral("A2"));
}

TEST_F(UnitPageTest, SearchComparesCodePage949Bytes) {
    search(QStringLiteral("쿠가"));
    EXPECT_EQ(page.currentRow(), kDankuga);
    EXPECT_EQ(child<QLabel>("nameLabel")->text(), QStringLiteral("단쿠가"));
}

TEST_F(UnitPageTest, PickingAUnitPutsBackTheSearchTextLastTaken) {
    edit("searchEdit")->setText("Be");
    pick(kBeta);
    EXPECT_EQ(edit("searchEdit")->text(), QString());
    search("Be");
    pick(kAlpha);
    EXPECT_EQ(edit("searchEdit")->text(), QStringLiteral("Be"));
    open();
    EXPECT_EQ(edit("searchEdit")->text(), QString());
}

TEST_F(UnitPageTest, EnterSearchesOnlyInTheSearchBoxAndCtrlKeysReachTheOwner) {
    edit("hpEdit")->setText("1");
    for (QWidget* target :
         std::initializer_list<QWidget*>{edit("hpEdit"), list(), page.abilityList(2),
                                         combo("movementTypeCombo"), button("okButton")})
        QTest::keyClick(target, Qt::Key_Return);
    EXPECT_TRUE(seams.messages.shown.empty());
    EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("1"));

    edit("searchEdit")->setText("Beta");
    QTest::keyClick(edit("searchEdit"), Qt::Key_Enter);
    EXPECT_EQ(page.currentRow(), kBeta);

    owner.keys.clear();
    QTest::keyClick(edit("hpEdit"), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(page.abilityList(0), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(edit("enEdit"), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(page.abilityList(1), Qt::Key_X, Qt::ControlModifier);
    // Each once, wherever it was typed (the owner also hears the Ctrl key
    // itself), except Ctrl+X in a text box, which cuts there.
    std::erase(owner.keys, Qt::Key_Control);
    EXPECT_EQ(owner.keys, (std::vector<int>{Qt::Key_O, Qt::Key_O, Qt::Key_X}));
}

// Tab and Shift+Tab move between controls: they leave the list instead of
// stepping through its rows, which would load each row and drop the edits.
TEST_F(UnitPageTest, TabAndShiftTabLeaveTheListAndKeepTheUnit) {
    QApplication::setActiveWindow(&page);
    pick(kBeta);
    edit("hpEdit")->setText("1");
    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        list()->setFocus();
        ASSERT_TRUE(list()->hasFocus());
        QTest::keyClick(list(), Qt::Key_Tab, modifiers);
        EXPECT_FALSE(list()->hasFocus()) << modifiers;
        EXPECT_EQ(page.currentRow(), kBeta);
        EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("1"));
    }
}

TEST_F(UnitPageTest, WeaponsHandOverTheListTextsAndPPlus24) {
    pick(kSplit);
    button("weaponsButton")->click();
    ASSERT_EQ(handOvers.size(), 1U);
    EXPECT_EQ(handOvers[0],
              (WeaponHandOver{dir.file("units.img"), "Split", "6208\n", kBase + 6232}));
}

TEST_F(UnitPageTest, AnEmptyListLeavesNoUnitCurrentAndTheButtonsDisabled) {
    dir.write("unitlist.ini", "; nothing but a header\nUNITS 100\n");
    traces.clear();
    open();
    EXPECT_EQ(page.currentRow(), -1);
    EXPECT_TRUE(traces.empty());
    for (const char* name : {"weaponsButton", "cancelButton", "okButton"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;
    button("goButton")->click();
    ASSERT_EQ(seams.messages.shown.size(), 1U);
    EXPECT_EQ(seams.messages.shown[0], messages::unitNotFound(""));
}

TEST_F(UnitPageTest, AListHandedOverIsShownOnceThenTheFileIsReadAgain) {
    NameList handed;
    handed.baseOffset = 100;
    handed.entries = {{"Beta", "400\n"}};
    page.handOverList(handed);
    open();
    ASSERT_EQ(list()->model()->rowCount(), 1);
    EXPECT_EQ(listText(0, 0), QStringLiteral("Beta"));
    EXPECT_EQ(traces.back(), messages::unitTrace("Beta", 500));
    open();
    ASSERT_EQ(list()->model()->rowCount(), kRowCount);
    EXPECT_EQ(listText(0, 0), QStringLiteral("Alpha"));
}

TEST_F(UnitPageTest, ASaveReachingIntoSectorFramingIsRefusedWholeAndThePageGoesOn) {
    // Sector 1's data area ends at 2352 + 2072: the record starts 12 bytes short of it.
    dir.write("unitlist.ini", "UNITS 0\nEdge, 4412\n");
    const SyntheticImage raw = SyntheticImage::rawSectors(4, 0x22);
    raw.saveTo(dir.file("units.img"));
    open();
    edit("hpEdit")->setText("1234");
    seams.messages.shown.clear();
    button("okButton")->click();

    ASSERT_EQ(seams.messages.shown.size(), 1U);
    const Message& refused = seams.messages.shown[0];
    EXPECT_EQ(refused, messageFor(Failure::SectorFraming, dir.file("units.img"), 2352 + 2072,
                                  messages::unitRecordLabel("Edge")));
    EXPECT_EQ(image(), raw.bytes());
    EXPECT_EQ(edit("hpEdit")->text(), QStringLiteral("1234"));
    EXPECT_TRUE(button("okButton")->isEnabled());
}

TEST(UnitPageBeforeAnImage, ButtonsAreDisabledAndListsHoldTheAbilityItems) {
    UnitPage page;
    for (const char* name : {"weaponsButton", "cancelButton", "okButton"})
        EXPECT_FALSE(page.findChild<QPushButton*>(name)->isEnabled()) << name;
    const QStringList first{"없음", "빔코트", "I필드", "오라 바리어"};
    for (int i = 0; i < UnitPage::kAbilityListCount; ++i) {
        AbilityTickList* list = page.abilityList(i);
        ASSERT_EQ(list->count(), 19);
        EXPECT_EQ(list->item(18)->text(), QStringLiteral("S2기관"));
        EXPECT_EQ(list->highestTicked(), std::nullopt);
        for (int row = 0; row < first.size(); ++row)
            EXPECT_EQ(list->item(row)->text(), first[row]);
        EXPECT_EQ(list->flow(), QListView::TopToBottom);
        EXPECT_TRUE(list->isWrapping());
    }
}

} // namespace
