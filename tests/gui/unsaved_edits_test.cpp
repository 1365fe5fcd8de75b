// No edit is dropped without a word: switching records, closing the window by
// each way and dropping an image first ask the three-way question, and each
// answer does what it says; Ctrl+X cuts in a text box; a value beyond its
// field's range is refused on save.
#include "core/text/Messages.h"
#include "core/weapon/WeaponRecord.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/pages/WeaponDialog.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/StepEdit.h"
#include "support/GuiTestSupport.h"
#include "support/SparseImage.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr Position kImageSize = 0x2C43C00 + 64;
constexpr Position kAlpha = 104; // unit records, HP at +12
constexpr Position kBeta = 108 + 400;
constexpr int kAlphaRow = 0;
constexpr int kBetaRow = 1;

std::vector<std::uint8_t> hpOf(const std::string& image, Position unit) {
    return readFileRange(image, unit + 12, 2);
}

class UnsavedEditsTest : public ::testing::Test {
protected:
    UnsavedEditsTest() {
        dir.write("unitlist.ini", "UNITS 100\nAlpha, 4\nBeta, 408\n");
        dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
        // Alpha's weapon list (weapon 5) and both units' HP of 1000.
        writeSparseImage(first, kImageSize,
                         {{kAlpha + 12, {0xE8, 0x03}}, {kAlpha + 22, {1, 0, 5, 0}},
                          {kBeta + 12, {0xE8, 0x03}}});
        writeSparseImage(second, kImageSize, {});
        window.setProgramDirectorySource([this] { return dir.dir(); });
        window.show();
        EXPECT_TRUE(window.openImagePath(QString::fromStdString(first)));
        seams.messages.shown.clear();
    }

    UnitPage* units() { return window.page<UnitPage>(); }
    QLineEdit* hp() { return units()->findChild<QLineEdit*>(QStringLiteral("hpEdit")); }
    QTableView* unitList() { return units()->findChild<QTableView*>(QStringLiteral("unitList")); }
    QLineEdit* upgradeBox() { return window.page<UpgradePage>()->edit(0, 1); }
    void answer(EditsChoice choice) { seams.messages.answers.push_back(choice); }

    TempDir dir;
    std::string first = dir.file("first.img");
    std::string second = dir.file("second.img");
    GuiSeams seams;
    MainWindow window;
};

TEST_F(UnsavedEditsTest, AnEditMarksItsTabAndTheTitleUntilItIsSaved) {
    EXPECT_FALSE(window.isWindowModified());
    hp()->setText(QStringLiteral("7"));
    EXPECT_EQ(window.pageSet()->tabText(0), QStringLiteral("机体 *"));
    EXPECT_EQ(window.pageSet()->tabText(2), QStringLiteral("改造"));
    EXPECT_TRUE(window.isWindowModified());
    EXPECT_TRUE(window.windowTitle().startsWith(QStringLiteral("first.img[*]")));
    hp()->setText(QStringLiteral("1000")); // back to the stored value: no edit
    EXPECT_FALSE(window.isWindowModified());
    hp()->setText(QStringLiteral("8"));
    window.saveCurrentPage(); // Ctrl+S
    EXPECT_EQ(hpOf(first, kAlpha), (std::vector<std::uint8_t>{8, 0}));
    EXPECT_EQ(window.pageSet()->tabText(0), QStringLiteral("机体"));
    EXPECT_FALSE(window.isWindowModified());
    EXPECT_TRUE(seams.messages.asked.empty());
}

// Cancel keeps the record and its edits; save writes them, then moves on;
// discard moves on and writes nothing.
TEST_F(UnsavedEditsTest, PickingAnotherRecordAsksAndEachAnswerDoesWhatItSays) {
    hp()->setText(QStringLiteral("7"));
    answer(EditsChoice::Cancel);
    unitList()->selectRow(kBetaRow);
    EXPECT_EQ(units()->currentRow(), kAlphaRow);
    EXPECT_EQ(hp()->text(), QStringLiteral("7"));
    EXPECT_EQ(unitList()->selectionModel()->selectedRows().value(0).row(), kAlphaRow);
    EXPECT_EQ(hpOf(first, kAlpha), (std::vector<std::uint8_t>{0xE8, 0x03}));

    answer(EditsChoice::Save);
    unitList()->selectRow(kBetaRow);
    EXPECT_EQ(units()->currentRow(), kBetaRow);
    EXPECT_EQ(hpOf(first, kAlpha), (std::vector<std::uint8_t>{7, 0}));
    EXPECT_EQ(seams.messages.shown, std::vector<Message>{messages::saveDone()});

    hp()->setText(QStringLiteral("9"));
    answer(EditsChoice::Discard);
    unitList()->selectRow(kAlphaRow);
    EXPECT_EQ(units()->currentRow(), kAlphaRow);
    EXPECT_EQ(hp()->text(), QStringLiteral("7"));
    EXPECT_EQ(hpOf(first, kBeta), (std::vector<std::uint8_t>{0xE8, 0x03}));
    EXPECT_EQ(seams.messages.asked.size(), 3u);
    EXPECT_EQ(seams.messages.asked.back(), messages::unsavedEdits());
}

TEST_F(UnsavedEditsTest, AClickUnderTheListAsksBeforeReadingTheRecordAgain) {
    hp()->setText(QStringLiteral("7"));
    answer(EditsChoice::Cancel);
    QTest::mouseClick(unitList()->viewport(), Qt::LeftButton, {},
                      QPoint(10, unitList()->viewport()->height() - 2));
    EXPECT_EQ(seams.messages.asked.size(), 1u);
    EXPECT_EQ(hp()->text(), QStringLiteral("7"));
    EXPECT_EQ(units()->currentRow(), kAlphaRow);
}

// The menu item, Ctrl+X and the close box all close through the one question.
TEST_F(UnsavedEditsTest, ClosingByEachWayAsksAndCancelKeepsTheWindowAndItsEdits) {
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"menu", [&] { window.findChild<QAction*>(QStringLiteral("quitAction"))->trigger(); }},
        {"Ctrl+X", [&] { QTest::keyClick(&window, Qt::Key_X, Qt::ControlModifier); }},
        {"Ctrl+X on a page", [&] { QTest::keyClick(units(), Qt::Key_X, Qt::ControlModifier); }},
        {"close box", [&] { window.close(); }}};
    for (const auto& [way, close] : ways) {
        window.show();
        upgradeBox()->setText(QStringLiteral("4"));
        answer(EditsChoice::Cancel);
        close();
        EXPECT_TRUE(window.isVisible()) << way;
        EXPECT_EQ(upgradeBox()->text(), QStringLiteral("4")) << way;
        answer(EditsChoice::Discard);
        close();
        EXPECT_FALSE(window.isVisible()) << way;
    }
    EXPECT_EQ(seams.messages.asked.size(), 8u);
    EXPECT_TRUE(seams.messages.shown.empty()); // nothing saved
}

TEST_F(UnsavedEditsTest, SaveOnClosingWritesEveryEditedPageFirst) {
    hp()->setText(QStringLiteral("7"));
    upgradeBox()->setText(QStringLiteral("4"));
    answer(EditsChoice::Save);
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(hpOf(first, kAlpha), (std::vector<std::uint8_t>{7, 0}));
    EXPECT_EQ(readFileRange(first, kUpgradeRows[0].position, 2),
              (std::vector<std::uint8_t>{4, 0}));
}

// A save the range rule refuses keeps the window open: nothing is lost.
TEST_F(UnsavedEditsTest, ARefusedSaveOnClosingKeepsTheWindowOnThatPage) {
    window.pageSet()->setCurrentIndex(2);
    hp()->setText(QStringLiteral("70000"));
    answer(EditsChoice::Save);
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pageSet()->currentIndex(), 0);
    EXPECT_EQ(hp()->text(), QStringLiteral("70000"));
}

TEST_F(UnsavedEditsTest, CtrlXInATextBoxCutsAndNeverCloses) {
    hp()->setFocus();
    hp()->selectAll();
    QTest::keyClick(hp(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(hp()->text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1000"));
    EXPECT_TRUE(seams.messages.asked.empty());
}

TEST_F(UnsavedEditsTest, DroppingAnImageAsksFirstAndOpensIt) {
    const auto drop = [&](const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(&window, &dropped);
        return enter.isAccepted();
    };
    EXPECT_FALSE(drop(dir.file("notes.txt")));
    upgradeBox()->setText(QStringLiteral("4"));
    answer(EditsChoice::Cancel);
    EXPECT_TRUE(drop(second));
    EXPECT_EQ(units()->imageSession().imagePath, first);
    EXPECT_EQ(upgradeBox()->text(), QStringLiteral("4"));
    answer(EditsChoice::Discard);
    drop(second);
    EXPECT_EQ(units()->imageSession().imagePath, second);
    EXPECT_EQ(seams.messages.asked.size(), 2u);
    EXPECT_EQ(readFileRange(first, kUpgradeRows[0].position, 2),
              (std::vector<std::uint8_t>{0, 0}));
}

// HP 70000 once saved as 4464: now refused, naming the field and its range,
// with nothing written and the typed text kept for correcting.
TEST_F(UnsavedEditsTest, AValueBeyondItsRangeIsRefusedOnSave) {
    hp()->setText(QStringLiteral("70000"));
    units()->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0], messages::valueOutOfRange("HP", 0, 65535));
    EXPECT_EQ(hpOf(first, kAlpha), (std::vector<std::uint8_t>{0xE8, 0x03}));
    EXPECT_EQ(hp()->text(), QStringLiteral("70000"));
    EXPECT_TRUE(window.isWindowModified());
}

// The hit field takes negatives: the minus can be typed first. 128 is
// refused; it was once saved as -128.
TEST_F(UnsavedEditsTest, TheWeaponsHitTakesATypedMinusAndRefusesWhatAByteCannotHold) {
    WeaponDialog dialog({first, "Alpha", "4", kAlpha + 24}, {[this] { return dir.dir(); }, {}});
    auto* hit = dialog.findChild<StepEdit*>(QStringLiteral("hitEdit"));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
    hit->edit()->clear();
    QTest::keyClicks(hit->edit(), "-5");
    EXPECT_EQ(hit->value(), QStringLiteral("-5"));
    ok->click();
    EXPECT_EQ(readFileRange(first, weaponBytePosition(5, 2), 1),
              std::vector<std::uint8_t>{0xFB});
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("savedNotice"))->text(),
              QString::fromStdString(messages::saveDone().text));

    hit->edit()->clear();
    QTest::keyClicks(hit->edit(), "128");
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("savedNotice"))->text().isEmpty());
    ok->click();
    EXPECT_EQ(seams.messages.shown.back(), messages::valueOutOfRange("命中力", -128, 127));
    EXPECT_EQ(readFileRange(first, weaponBytePosition(5, 2), 1),
              std::vector<std::uint8_t>{0xFB});
    EXPECT_EQ(hit->value(), QStringLiteral("128"));
}

} // namespace
