// The comparison with the original in the editor: choosing it (and refusing
// one that cannot be), the marks in the lists and on the pages, "원본 값으로",
// the changes window and its double-click, marks after a save, and Cancel.

#include "core/demo/DemoBuilder.h"
#include "core/lists/NameListReader.h"
#include "core/text/Messages.h"
#include "core/pilot/PilotRecordFile.h"
#include "core/unit/UnitRecordFile.h"
#include "core/upgrade/UpgradeTable.h"
#include "gui/app/MainWindow.h"
#include "gui/app/OriginalComparer.h"
#include "gui/pages/ChangesWindow.h"
#include "gui/pages/OriginalMarks.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/BackgroundWork.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/NameListView.h"
#include "support/GuiTestSupport.h"
#include "support/TempDir.h"

#include <QAction>
#include <QFont>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr int kEditedUnit = 1;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

class OriginalCompareTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(m_settings.path().string()));
        demo::writeDemo(m_dir.path().string());
        m_image = m_dir.file("demo.img");
        m_original = m_dir.file("original.img");
        std::filesystem::copy_file(m_image, m_original);
        const NameList units = loadUnits();
        m_place = UnitPlace::fromList(units, kEditedUnit);
        UnitRecord record = loadUnitRecord(m_image, m_place);
        m_originalHp = record.hp;
        record.hp = "4321";
        (void)saveUnitRecord(m_image, m_place, record);
        setProgressDelay(500);
        setProgressShownHook({});
    }
    void TearDown() override { setProgressShownHook({}); }

    [[nodiscard]] NameList loadUnits() const;
    std::unique_ptr<MainWindow> openWindow() {
        auto window = std::make_unique<MainWindow>();
        window->setProgramDirectorySource([this] { return m_dir.path().string() + "/"; });
        window->openImagePath(QString::fromStdString(m_image));
        return window;
    }
    static void selectUnit(MainWindow& window, int row) {
        QTableView* list = window.page<UnitPage>()->ui().list;
        list->selectionModel()->select(list->model()->index(row, 0),
                                       QItemSelectionModel::ClearAndSelect |
                                           QItemSelectionModel::Rows);
    }

    GuiSeams m_seams;
    TempDir m_dir;
    TempDir m_settings;
    std::string m_image;
    std::string m_original;
    UnitPlace m_place;
    std::string m_originalHp;
};

NameList OriginalCompareTest::loadUnits() const {
    return loadNameList(m_dir.path().string() + "/", ListKind::Units);
}

TEST_F(OriginalCompareTest, TheListsAndThePageMarkWhatDiffersFromTheOriginal) {
    auto window = openWindow();
    OriginalComparer& comparer = *window->originalComparer();
    ASSERT_TRUE(comparer.setOriginal(QString::fromStdString(m_original)));
    EXPECT_TRUE(m_seams.messages.shown.empty());

    NameListModel* names = window->page<UnitPage>()->ui().names;
    const QModelIndex edited = names->index(kEditedUnit, NameListModel::kNameColumn);
    EXPECT_TRUE(names->data(edited, Qt::DisplayRole).toString().startsWith(QStringLiteral("● ")));
    EXPECT_TRUE(names->data(edited, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(names->data(edited, Qt::AccessibleDescriptionRole).toString(),
              fromUtf8(messages::kChangedFromOriginal));
    const QModelIndex other = names->index(0, NameListModel::kNameColumn);
    EXPECT_FALSE(names->isMarked(0));
    EXPECT_FALSE(names->data(other, Qt::DisplayRole).toString().startsWith(QStringLiteral("●")));

    selectUnit(*window, kEditedUnit);
    DigitsEdit* hp = window->page<UnitPage>()->ui().hp;
    const QString said = fromUtf8(messages::originalValue(m_originalHp));
    EXPECT_TRUE(isMarked(hp));
    EXPECT_EQ(hp->toolTip(), said);
    EXPECT_EQ(hp->accessibleDescription(), said);
    EXPECT_FALSE(isMarked(window->page<UnitPage>()->ui().en));

    // Another record: the marks go with it.
    selectUnit(*window, 0);
    EXPECT_FALSE(isMarked(hp));
    EXPECT_TRUE(hp->toolTip().isEmpty());

    comparer.clearOriginal();
    EXPECT_FALSE(names->isMarked(kEditedUnit));
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("showChangesAction"))->isEnabled());
}

TEST_F(OriginalCompareTest, OriginalValuesFillTheControlsWithoutSaving) {
    auto window = openWindow();
    ASSERT_TRUE(window->originalComparer()->setOriginal(QString::fromStdString(m_original)));
    selectUnit(*window, kEditedUnit);
    const std::string before = readFile(m_image);
    auto* button = window->page<UnitPage>()->findChild<QPushButton*>(
        QStringLiteral("originalValuesButton"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->accessibleName(), QStringLiteral("원본 값으로"));
    ASSERT_TRUE(button->isEnabled());
    button->click();
    EXPECT_EQ(window->page<UnitPage>()->ui().hp->text(), QString::fromStdString(m_originalHp));
    EXPECT_EQ(readFile(m_image), before);

    // Saved, the unit is the original's again: no mark, after the save alone.
    window->page<UnitPage>()->saveUnit();
    NameListModel* names = window->page<UnitPage>()->ui().names;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !names->isMarked(kEditedUnit); }, 5000));
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(OriginalCompareTest, ThePilotAndUpgradePagesMarkTheirFieldsToo) {
    const PilotReference pilot =
        PilotReference::fromList(loadNameList(m_dir.path().string() + "/", ListKind::Pilots), 0);
    PilotRecord stats = loadPilotRecord(m_image, pilot);
    const std::string melee = stats.stats.melee;
    stats.stats.melee = "201";
    (void)savePilotRecord(m_image, pilot, stats);
    UpgradeTable table = loadUpgradeTable(m_image);
    const std::string hp3 = table.values[0][2];
    table.values[0][2] = "777";
    (void)saveUpgradeTable(m_image, table);

    auto window = openWindow();
    ASSERT_TRUE(window->originalComparer()->setOriginal(QString::fromStdString(m_original)));
    auto* pilots = window->page<PilotPage>();
    EXPECT_TRUE(pilots->ui().names->isMarked(0));
    pilots->selectPilot(0);
    EXPECT_EQ(pilots->ui().melee->toolTip(), fromUtf8(messages::originalValue(melee)));
    pilots->findChild<QPushButton*>(QStringLiteral("originalValuesButton"))->click();
    EXPECT_EQ(pilots->ui().melee->text(), QString::fromStdString(melee));

    auto* upgrade = window->page<UpgradePage>();
    EXPECT_TRUE(isMarked(upgrade->edit(0, 3)));
    EXPECT_EQ(upgrade->edit(0, 3)->accessibleDescription(), fromUtf8(messages::originalValue(hp3)));
    EXPECT_FALSE(isMarked(upgrade->edit(0, 2)));
}

TEST_F(OriginalCompareTest, TheOriginalIsRememberedPerImage) {
    {
        auto window = openWindow();
        ASSERT_TRUE(window->originalComparer()->setOriginal(QString::fromStdString(m_original)));
    }
    auto window = openWindow();
    EXPECT_EQ(window->originalComparer()->original(), QString::fromStdString(m_original));
    EXPECT_TRUE(window->page<UnitPage>()->ui().names->isMarked(kEditedUnit));
}

TEST_F(OriginalCompareTest, AnOriginalThatCannotBeOneIsRefused) {
    const std::string shorter = m_dir.write("short.img", readFile(m_original).substr(0, 2352 * 10));
    TempDir elsewhere;
    const std::string otherLists = elsewhere.write("original.img", readFile(m_original));
    (void)elsewhere.write("unitlist.ini", "other\n");
    const auto size = static_cast<long long>(std::filesystem::file_size(m_image));
    const std::pair<std::string, Message> refused[] = {
        {shorter, messages::originalSizeDiffers(shorter, 2352 * 10, size)},
        {otherLists, messages::originalListsDiffer(otherLists, "unitlist.ini")},
        {m_image, messages::originalIsTheImage(m_image)},
    };
    auto window = openWindow();
    for (const auto& [path, message] : refused) {
        m_seams.messages.shown.clear();
        EXPECT_FALSE(window->originalComparer()->setOriginal(QString::fromStdString(path)));
        ASSERT_EQ(m_seams.messages.shown.size(), 1U) << path;
        EXPECT_EQ(m_seams.messages.shown[0], message);
        EXPECT_FALSE(window->originalComparer()->comparison());
    }
}

TEST_F(OriginalCompareTest, TheChangesWindowListsRecordsAndShowsOneOnDoubleClick) {
    auto window = openWindow();
    ASSERT_TRUE(window->originalComparer()->setOriginal(QString::fromStdString(m_original)));
    window->findChild<QAction*>(QStringLiteral("showChangesAction"))->trigger();
    ChangesWindow* changes = window->originalComparer()->changesWindow();
    ASSERT_TRUE(changes->isVisible());
    QListWidget* list = changes->list();
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().startsWith(QStringLiteral("units #1 ")));
    EXPECT_TRUE(list->item(0)->text().endsWith(
        QStringLiteral(": hp %1 -> 4321").arg(QString::fromStdString(m_originalHp))));
    // The save refreshed the codes of the unit's sector: they count apart.
    EXPECT_TRUE(list->item(1)->text().startsWith(QStringLiteral("other bytes: 0 in 0 ranges")));

    selectUnit(*window, 0);
    window->pageSet()->setCurrentIndex(2);
    changes->activateRow(0);
    EXPECT_EQ(window->pageSet()->currentWidget(), window->page<UnitPage>());
    EXPECT_EQ(window->page<UnitPage>()->currentRow(), kEditedUnit);
    changes->activateRow(1); // the bytes line shows nothing
    EXPECT_EQ(window->page<UnitPage>()->currentRow(), kEditedUnit);
}

TEST_F(OriginalCompareTest, CancelStopsTheComparisonAndMarksNothing) {
    auto window = openWindow();
    setProgressDelay(0);
    int shown = 0;
    setProgressShownHook([&shown](QProgressDialog* dialog) {
        ++shown;
        EXPECT_EQ(dialog->objectName(), QStringLiteral("progressDialog"));
        dialog->cancel();
    });
    EXPECT_FALSE(window->originalComparer()->setOriginal(QString::fromStdString(m_original)));
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(window->originalComparer()->comparison());
    EXPECT_FALSE(window->page<UnitPage>()->ui().names->isMarked(kEditedUnit));

    // Without Cancel, the dialog shown at once lets the work finish.
    setProgressShownHook([&shown](QProgressDialog*) { ++shown; });
    EXPECT_TRUE(window->originalComparer()->refresh());
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(window->page<UnitPage>()->ui().names->isMarked(kEditedUnit));
}

} // namespace
