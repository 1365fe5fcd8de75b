#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "core/text/TraceLines.h"
#include "gui/pages/PageOwner.h"
#include "gui/pages/PilotPage.h"
#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/StepEdit.h"

#include "support/GuiTestSupport.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace starfall {
namespace {

using test::changedPositions;
using test::readFile;
using test::SyntheticImage;

constexpr Position kBase = 1000;
// Rows of the list below, their record positions and kinds.
enum Row { Kim, Lee, Kimura, Protagonist, Park };
constexpr Position kKim = kBase + 100;         // Full
constexpr Position kLee = kBase + 2786;        // StatsOnly
constexpr Position kKimura = kBase + 15188;    // SpiritsOnly
constexpr Position kProtagonist = kBase + 200; // Full, skill table at P + 12
constexpr Position kPark = kBase + 300;        // Full

std::string cp(std::string_view utf8) {
    return cp949::fromUtf8(utf8);
}

std::string charList() {
    return "PILOTS 1000\nKim, 100\nLee, 2786\nKimura, 15188\n" + cp("주인공 특기(리얼)") +
           ", 200\nPark, 300\n";
}

SyntheticImage pilotImage() {
    auto image = SyntheticImage::flat(20000, 0x5A);
    // Kim: air A, space B, land C, sea D; melee 150, shooting 140, hit 308,
    // evasion 200, SP 300, skill 180, reaction 170; six spirits; personality
    // byte 0xD7 ("普通").
    image.place(kKim, {0x43, 0x21, 150, 140, 0x34, 0x01, 200, 0, 0x2C, 0x01, 180, 0, 170, 0});
    image.place(kKim + 14, {1, 5, 6, 10, 0, 0, 30, 40, 12, 20, 25, 99});
    image.place(kKim - 6, {0xD7});
    image.place(kLee, {0x44, 0x44, 10, 20, 30, 0, 40, 0, 50, 0, 60, 0, 70, 0});
    image.place(kLee - 6, {0x00});
    image.place(kKimura, {2, 3, 4, 5, 7, 9, 8, 11, 9, 13, 10, 15});
    return image;
}

struct RecordingOwner : PageOwner {
    void handleKeyDown(int key) override { keys.push_back(key); }
    std::vector<int> keys;
};

class PilotPageTest : public ::testing::Test {
protected:
    PilotPageTest() {
        dir.write("charlist.ini", charList());
        pilotImage().saveTo(path);
        page.setImageSession({path, dir.dir()});
        page.setTraceSink([this](std::string_view line) { traces.emplace_back(line); });
        page.setSkillDialogOpener(
            [this](QWidget*, const SkillDialogRequest& request) { opened.push_back(request); });
        page.setOwner(&owner);
    }

    const PilotPageUi& ui() const { return page.ui(); }
    void select(Row row) { ui().list->selectRow(row); }
    void type(QLineEdit* edit, const QString& text) {
        edit->clear();
        // Typed key by key where the test keyboard has the keys.
        const bool ascii =
            std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii)
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
    }
    std::string image() const { return readFile(path); }
    std::vector<QWidget*> statControls() const {
        return {ui().melee, ui().shooting, ui().evasion,      ui().hit,
                ui().skill, ui().reaction, ui().air,          ui().space,
                ui().land,  ui().sea,      ui().spiritPoints, ui().personality};
    }
    std::vector<QWidget*> spiritControls() const {
        std::vector<QWidget*> controls;
        for (const SpiritRowControls& row : ui().spirits)
            controls.insert(controls.end(), {row.command, row.level});
        return controls;
    }

    test::TempDir dir;
    std::string path = dir.file("pilots.img");
    test::GuiSeams seams;
    RecordingOwner owner;
    std::vector<std::string> traces;
    std::vector<SkillDialogRequest> opened;
    PilotPage page;
};

std::vector<QString> itemsOf(const QComboBox* list) {
    std::vector<QString> items;
    for (int i = 0; i < list->count(); ++i)
        items.push_back(list->itemText(i));
    return items;
}

TEST_F(PilotPageTest, BeforeAnImageEveryListIsUnselectedAndTheButtonsAreOff) {
    EXPECT_FALSE(ui().skillTable->isEnabled());
    EXPECT_FALSE(ui().cancel->isEnabled());
    EXPECT_FALSE(ui().ok->isEnabled());
    EXPECT_TRUE(ui().melee->isEnabled());
    EXPECT_TRUE(ui().spirits[0].command->isEnabled());
    for (QComboBox* list : page.findChildren<QComboBox*>())
        EXPECT_EQ(list->currentIndex(), -1) << list->objectName().toStdString();
    EXPECT_EQ(ui().names->rowCount(), 0);
}

TEST_F(PilotPageTest, LabelsItemsAndListColumnsAreTheFixedTexts) {
    const std::vector<QString> ranks{"A", "B", "C", "D", "--"};
    for (QComboBox* list : {ui().air, ui().space, ui().land, ui().sea})
        EXPECT_EQ(itemsOf(list), ranks);
    EXPECT_EQ(itemsOf(ui().personality), (std::vector<QString>{"弱气", "普通", "强气", "超强气"}));
    const auto spirits = itemsOf(ui().spirits[5].command);
    ASSERT_EQ(spirits.size(), 30u);
    EXPECT_EQ(spirits.front(), "根性");
    EXPECT_EQ(spirits[24], "魂");
    EXPECT_EQ(spirits.back(), "侦察");

    const std::pair<QWidget*, QString> labelled[] = {
        {ui().melee, "格斗"}, {ui().shooting, "射击"},   {ui().evasion, "回避"},
        {ui().hit, "命中"},   {ui().skill, "技量"},      {ui().reaction, "反应"},
        {ui().air, "空"},     {ui().space, "宇"},        {ui().land, "陆"},
        {ui().sea, "海"},     {ui().spiritPoints, "SP"}, {ui().personality, "性格"}};
    for (const auto& [control, text] : labelled) {
        auto* label = page.findChild<QLabel*>(control->objectName() + "Label");
        ASSERT_NE(label, nullptr) << text.toStdString();
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->buddy(), control);
    }
    QStringList groups;
    for (QGroupBox* group : page.findChildren<QGroupBox*>())
        groups << group->title();
    groups.sort();
    EXPECT_EQ(groups, (QStringList{"人物列表", "地形适性", "精神列表"}));
    EXPECT_EQ(ui().go->text(), "GO");
    EXPECT_EQ(ui().skillTable->text(), "技能列表");
    EXPECT_EQ(ui().cancel->text(), "取消");
    EXPECT_EQ(ui().ok->text(), "确定");

    EXPECT_EQ(ui().names->headerData(0, Qt::Horizontal, Qt::DisplayRole), "캐릭터 이름");
    EXPECT_EQ(ui().names->headerData(1, Qt::Horizontal, Qt::DisplayRole), "캐릭터 주소");
    EXPECT_EQ(ui().list->columnWidth(0), 110);
    EXPECT_TRUE(ui().list->isColumnHidden(1));
    EXPECT_EQ(ui().list->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(ui().list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(ui().list->showGrid());
    EXPECT_EQ(ui().name->palette().color(QPalette::WindowText), QColor(70, 30, 250));
}

TEST_F(PilotPageTest, OpeningSelectsTheFirstPilotAndShowsItsRecord) {
    page.rebuildList();

    EXPECT_EQ(page.selectedIndex(), std::optional<std::size_t>(Kim));
    ASSERT_EQ(ui().names->rowCount(), 5);
    EXPECT_EQ(ui().names->index(Protagonist, 0).data(), "주인공 특기(리얼)");
    EXPECT_EQ(ui().names->index(Kimura, 1).data(), "15188\n");
    EXPECT_EQ(ui().name->text(), "Kim");
    EXPECT_EQ(traces, std::vector<std::string>{messages::pilotTrace("Kim", kKim)});
    const std::pair<QLineEdit*, QString> texts[] = {
        {ui().melee, "150"}, {ui().shooting, "140"}, {ui().evasion, "200"},     {ui().hit, "308"},
        {ui().skill, "180"}, {ui().reaction, "170"}, {ui().spiritPoints, "300"}};
    for (const auto& [edit, text] : texts)
        EXPECT_EQ(edit->text(), text) << edit->objectName().toStdString();
    const std::pair<QComboBox*, int> choices[] = {
        {ui().air, 0}, {ui().space, 1}, {ui().land, 2}, {ui().sea, 3}, {ui().personality, 1}};
    for (const auto& [list, index] : choices)
        EXPECT_EQ(list->currentIndex(), index) << list->objectName().toStdString();
    const int commands[] = {0, 5, -1, 29, 11, 24};
    const char* levels[] = {"5", "10", "0", "40", "20", "99"};
    for (std::size_t i = 0; i < kSpiritCount; ++i) {
        EXPECT_EQ(ui().spirits[i].command->currentIndex(), commands[i]) << i;
        EXPECT_EQ(ui().spirits[i].level->value(), levels[i]) << i;
    }
    EXPECT_TRUE(ui().ok->isEnabled());
    EXPECT_TRUE(ui().cancel->isEnabled());
    EXPECT_TRUE(ui().skillTable->isEnabled());
}

TEST_F(PilotPageTest, EachKindEnablesItsOwnControls) {
    struct Case {
        Row row;
        bool stats;
        bool spirits;
    };
    const Case cases[] = {{Lee, true, false}, {Kimura, false, true}, {Kim, true, true}};
    page.rebuildList();
    for (const Case& c : cases) {
        select(c.row);
        for (QWidget* control : statControls())
            EXPECT_EQ(control->isEnabled(), c.stats)
                << c.row << control->objectName().toStdString();
        for (QWidget* control : spiritControls())
            EXPECT_EQ(control->isEnabled(), c.spirits)
                << c.row << control->objectName().toStdString();
        EXPECT_EQ(ui().skillTable->isEnabled(), c.spirits) << c.row;
        EXPECT_TRUE(ui().ok->isEnabled());
        EXPECT_TRUE(ui().cancel->isEnabled());
    }
}

TEST_F(PilotPageTest, AStatsOnlySaveWritesTheStatsAndPersonalityAndNoSpiritByte) {
    page.rebuildList();
    select(Lee);
    // Kim's spirits stay on show, greyed out.
    EXPECT_EQ(ui().spirits[3].command->currentIndex(), 29);
    EXPECT_EQ(ui().melee->text(), "10");
    const std::string before = image();
    type(ui().melee, "77");
    ui().personality->setCurrentIndex(3);
    ui().ok->click();

    const std::string after = image();
    EXPECT_EQ(changedPositions(before, after), (std::vector<Position>{kLee - 6, kLee + 2}));
    EXPECT_EQ(static_cast<std::uint8_t>(after[kLee + 2]), 77);
    EXPECT_EQ(static_cast<std::uint8_t>(after[kLee - 6]), 0x30);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::saveDone());
}

TEST_F(PilotPageTest, ASaveWithoutEditsKeepsEveryByteOfAProtagonistsSharedSkillTable) {
    // Its spirit bytes (0x5A, no command) are also the skill table at P + 12.
    page.rebuildList();
    select(Protagonist);
    const std::string before = image();
    ui().ok->click();
    EXPECT_EQ(image(), before);
    EXPECT_EQ(seams.messages.shown.back(), messages::saveDone());
    ui().melee->setText(QStringLiteral("77"));
    ui().ok->click();
    EXPECT_EQ(changedPositions(before, image()), std::vector<Position>{kProtagonist + 2});
}

TEST_F(PilotPageTest, ASpiritsOnlySaveWritesTwelveBytesAtTheRecordAndNothingBefore) {
    page.rebuildList();
    select(Kimura);
    EXPECT_EQ(ui().melee->text(), "150"); // Kim's, kept
    EXPECT_EQ(ui().spirits[0].command->currentIndex(), 1);
    const std::string before = image();
    ui().spirits[0].command->setCurrentIndex(29);
    type(ui().spirits[5].level->edit(), "44");
    ui().ok->click();

    const std::string after = image();
    EXPECT_EQ(changedPositions(before, after), (std::vector<Position>{kKimura, kKimura + 11}));
    const std::string expected = {30, 3, 4, 5, 7, 9, 8, 11, 9, 13, 10, 44};
    EXPECT_EQ(after.substr(kKimura, 12), expected);
}

TEST_F(PilotPageTest, CancelReadsTheRecordAgainAndAListChangeDropsEdits) {
    page.rebuildList();
    type(ui().melee, "1");
    ui().cancel->click();
    EXPECT_EQ(ui().melee->text(), "150");
    type(ui().melee, "2");
    select(Park);
    select(Kim);
    EXPECT_EQ(ui().melee->text(), "150");
    EXPECT_TRUE(seams.messages.shown.empty());
    // The list change asked first; the test's answer is to discard.
    EXPECT_EQ(seams.messages.asked, std::vector<Message>{messages::unsavedEdits()});
    EXPECT_EQ(traces.size(), 4u);
}

TEST_F(PilotPageTest, TheSkillButtonOpensTheTableBehindTheRecordOrAtTwelveForProtagonists) {
    page.rebuildList();
    const std::pair<Row, Position> cases[] = {
        {Kim, kKim + 26}, {Protagonist, kProtagonist + 12}, {Kimura, kKimura + 26}};
    for (const auto& [row, table] : cases) {
        select(row);
        ui().skillTable->click();
        ASSERT_FALSE(opened.empty());
        EXPECT_EQ(opened.back(),
                  (SkillDialogRequest{path, page.nameList().entries[row].name, table}));
    }
    EXPECT_EQ(opened.size(), 3u);
}

// Each step: the text in the search box, then the row GO lands on (or -1 for
// the not-found message).
struct SearchStep {
    const char* text;
    int row;
};

TEST_F(PilotPageTest, SearchStepsThroughMatchesWrapsAroundAndRestartsOnNewText) {
    const std::vector<std::vector<SearchStep>> runs = {
        {{"Kim", Kim}, {"Kim", Kimura}, {"Kim", Kim}},
        {{"", Kim}, {"", Lee}, {"", Kimura}, {"", Protagonist}, {"", Park}, {"", Kim}},
        {{"Park", Park}, {"Park", Park}, {"K", Kim}, {"K", Kimura}},
        {{"특기", Protagonist}, {"특기", Protagonist}},
        {{"Kim", Kim}, {"Zed", -1}, {"Kim", Kim}},
    };
    for (const auto& run : runs) {
        page.rebuildList();
        select(Lee);
        seams.messages.shown.clear();
        int current = Lee;
        for (const SearchStep& step : run) {
            type(ui().search, QString::fromUtf8(step.text));
            ui().go->click();
            if (step.row >= 0)
                current = step.row;
            ASSERT_EQ(page.selectedIndex(), std::optional<std::size_t>(current)) << step.text;
            EXPECT_TRUE(ui().list->selectionModel()->isRowSelected(current, {})) << step.text;
        }
    }
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::pilotNotFound("Zed"));
}

TEST_F(PilotPageTest, ANotFoundSearchKeepsTheShownPilotAndItsEdits) {
    page.rebuildList();
    type(ui().melee, "12");
    type(ui().search, "Nobody");
    ui().go->click();
    EXPECT_EQ(page.selectedIndex(), std::optional<std::size_t>(Kim));
    EXPECT_EQ(ui().melee->text(), "12");
    EXPECT_EQ(traces.size(), 1u);
    EXPECT_EQ(seams.messages.shown.size(), 1u);
}

TEST_F(PilotPageTest, ALoadShowsTheStoredSearchTextInTheSearchBox) {
    page.rebuildList();
    type(ui().search, "typed");
    select(Lee);
    EXPECT_EQ(ui().search->text(), "");
    type(ui().search, "Park");
    ui().go->click();
    type(ui().search, "other");
    select(Kim);
    EXPECT_EQ(ui().search->text(), "Park");
}

TEST_F(PilotPageTest, EnterSearchesOnlyFromTheSearchBoxAndPressesNothingElsewhere) {
    page.rebuildList();
    type(ui().search, "Park");
    QTest::keyClick(ui().search, Qt::Key_Return);
    EXPECT_EQ(page.selectedIndex(), std::optional<std::size_t>(Park));

    const std::string before = image();
    for (QWidget* control :
         std::vector<QWidget*>{ui().melee, ui().ok, ui().list, ui().personality}) {
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter);
    }
    EXPECT_EQ(page.selectedIndex(), std::optional<std::size_t>(Park));
    EXPECT_TRUE(seams.messages.shown.empty());
    EXPECT_EQ(image(), before);
}

TEST_F(PilotPageTest, CtrlOAndCtrlXReachTheMainWindowOnceAndThenTheControl) {
    page.rebuildList();
    type(ui().search, "abc");
    ui().search->selectAll();
    QTest::keyClick(ui().search, Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(ui().melee, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(ui().list, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(ui().melee, Qt::Key_F5);
    // The Ctrl key's own presses travel on too; the owner ignores them.
    std::erase(owner.keys, Qt::Key_Control);
    // In a text box Ctrl+X is Cut, and only that.
    EXPECT_EQ(owner.keys, (std::vector<int>{Qt::Key_O, Qt::Key_O, Qt::Key_F5}));
    EXPECT_EQ(ui().search->text(), "");
}

TEST_F(PilotPageTest, TabAndShiftTabLeaveTheListAndKeepThePilot) {
    page.show();
    QApplication::setActiveWindow(&page);
    page.rebuildList();
    select(Park);
    type(ui().melee, "7");
    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ShiftModifier}) {
        ui().list->setFocus();
        ASSERT_TRUE(ui().list->hasFocus());
        QTest::keyClick(ui().list, Qt::Key_Tab, modifiers);
        EXPECT_FALSE(ui().list->hasFocus()) << modifiers;
        EXPECT_EQ(page.selectedIndex(), std::optional<std::size_t>(Park));
        EXPECT_EQ(ui().melee->text(), "7");
    }
}

TEST_F(PilotPageTest, LearnLevelSpinsStepTheTextAndClampOnlyTheirOwnDirection) {
    struct Case {
        const char* level;
        StepDirection direction;
        const char* expected;
    };
    const Case cases[] = {{"99", StepDirection::Up, "99"},     {"1", StepDirection::Down, "1"},
                          {"", StepDirection::Down, "1"},      {"", StepDirection::Up, "1"},
                          {"150", StepDirection::Down, "149"}, {"7", StepDirection::Up, "8"}};
    page.rebuildList();
    type(ui().melee, "33");
    for (const Case& c : cases) {
        const SpiritRowControls& row = ui().spirits[2];
        type(row.level->edit(), c.level);
        QTest::keyClick(row.level, c.direction == StepDirection::Up ? Qt::Key_Up : Qt::Key_Down);
        EXPECT_EQ(row.level->value(), c.expected) << c.level;
    }
    EXPECT_EQ(ui().spirits[1].level->value(), "10");
    EXPECT_EQ(ui().melee->text(), "33"); // taken and shown again, not re-read
}

TEST_F(PilotPageTest, AnEmptyListLeavesNoPilotCurrentAndTheButtonsOff) {
    page.rebuildList();
    dir.write("charlist.ini", "; none yet\nPILOTS 1000\n");
    page.rebuildList();
    EXPECT_EQ(page.selectedIndex(), std::nullopt);
    EXPECT_EQ(ui().names->rowCount(), 0);
    EXPECT_FALSE(ui().ok->isEnabled());
    EXPECT_FALSE(ui().cancel->isEnabled());
    EXPECT_FALSE(ui().skillTable->isEnabled());
    EXPECT_EQ(traces.size(), 1u);
    type(ui().search, "");
    ui().go->click();
    EXPECT_EQ(seams.messages.shown.back(), messages::pilotNotFound(""));
}

TEST_F(PilotPageTest, ARecordOutsideTheImageIsReportedAndChangesNothing) {
    dir.write("charlist.ini", "PILOTS 1000\nKim, 100\nBad, -5000\n");
    page.rebuildList();
    ui().list->selectRow(1);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messageFor(Failure::PositionOutOfRange, path, -4000, ""));
    EXPECT_EQ(ui().melee->text(), "150"); // still Kim's
    const std::string before = image();
    ui().ok->click();
    EXPECT_EQ(image(), before);
    ASSERT_EQ(seams.messages.shown.size(), 2u);
    EXPECT_NE(seams.messages.shown[1], messages::saveDone());
}

} // namespace
} // namespace starfall
