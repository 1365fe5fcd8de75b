// Undo and redo of saves from the editor's 편집 menu and the 저장 기록 window.
#include "core/io/CoreError.h"
#include "core/io/SaveHistory.h"
#include "core/text/Messages.h"
#include "core/upgrade/UpgradeTable.h"
#include "gui/app/HistoryMenu.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/HistoryWindow.h"
#include "gui/pages/UpgradePage.h"
#include "support/GuiTestSupport.h"
#include "support/SparseImage.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace starfall;
using namespace starfall::test;

namespace {

class HistoryMenuTest : public ::testing::Test {
protected:
    HistoryMenuTest() {
        dir.write("unitlist.ini", "UNITS 100\nAlpha, 4\n");
        dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
        writeSparseImage(image, 0x2C43C00 + 64, {});
        window.setProgramDirectorySource([this] { return dir.dir(); });
        window.openImagePath(QString::fromStdString(image));
    }

    QLineEdit* box() const { return window.page<UpgradePage>()->edit(0, 1); }
    void saveBox(const QString& value) {
        box()->setText(value);
        window.page<UpgradePage>()->saveUpgradeTable();
    }
    QAction* action(const char* name) const {
        return window.historyMenu()->menu()->findChild<QAction*>(QLatin1String(name));
    }

    TempDir dir;
    std::string image = dir.file("first.img");
    GuiSeams seams;
    MainWindow window;
};

TEST_F(HistoryMenuTest, UndoAndRedoReloadThePages) {
    const std::string before = readFile(image);
    const QString shown = box()->text();
    saveBox(QStringLiteral("1234"));
    const std::string after = readFile(image);
    ASSERT_NE(before, after);
    action("undoSaveAction")->trigger();
    EXPECT_EQ(readFile(image) == before, true);
    EXPECT_EQ(box()->text(), shown);
    action("redoSaveAction")->trigger();
    EXPECT_EQ(readFile(image) == after, true);
    EXPECT_EQ(box()->text(), QStringLiteral("1234"));
    EXPECT_EQ(action("undoSaveAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(action("redoSaveAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
}

TEST_F(HistoryMenuTest, ARefusedUndoExplainsItselfAndWritesNothing) {
    saveBox(QStringLiteral("1234"));
    seams.messages.shown.clear();
    // Another tool puts other bytes where the save wrote.
    {
        std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(kUpgradeRows[0].position);
        file.put('\x01');
    }
    const std::string changed = readFile(image);
    action("undoSaveAction")->trigger();
    EXPECT_EQ(readFile(image) == changed, true);
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_NE(seams.messages.shown[0].text.find("1번 저장이 쓴 값이 아닙니다"), std::string::npos);
    EXPECT_EQ(seams.messages.shown[0].title, messages::kTitleRomEditor);
}

TEST_F(HistoryMenuTest, TheHistoryWindowListsUndoesAndRefusesOutOfOrder) {
    saveBox(QStringLiteral("1234"));
    saveBox(QStringLiteral("2345"));
    HistoryWindow history(image);
    EXPECT_EQ(history.table()->accessibleName(), QStringLiteral("저장 기록"));
    ASSERT_EQ(history.table()->rowCount(), 2);
    EXPECT_NE(history.table()->item(1, 3)->text().indexOf(QStringLiteral("1234 → 2345")), -1);
    seams.messages.shown.clear();
    history.table()->selectRow(0);
    history.undoChosen();
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0].text, messages::historyLaterFirst(1, {2}));
    history.table()->selectRow(1);
    history.undoChosen();
    EXPECT_EQ(history.table()->rowCount(), 3);

    seams.files.answers.emplace_back(QString::fromStdString(dir.file("saves.ppf")));
    history.savePatch();
    EXPECT_TRUE(std::filesystem::exists(dir.file("saves.ppf")));
}

TEST_F(HistoryMenuTest, ClearingAsksFirstAndRecordingCanBeTurnedOff) {
    saveBox(QStringLiteral("1234"));
    const std::string path = historyPathFor(image);
    seams.messages.confirmAnswer = false;
    action("clearHistoryAction")->trigger();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(seams.messages.shown.back(), messages::historyClearQuestion(path));
    seams.messages.confirmAnswer = true;
    action("clearHistoryAction")->trigger();
    EXPECT_FALSE(std::filesystem::exists(path));

    action("recordHistoryAction")->setChecked(false);
    saveBox(QStringLiteral("2345"));
    EXPECT_FALSE(std::filesystem::exists(path));
    action("recordHistoryAction")->setChecked(true);
}

} // namespace
