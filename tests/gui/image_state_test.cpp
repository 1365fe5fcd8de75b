// What the window says of the image it holds: its name and read-only state in
// the title, the save buttons off for an image that cannot be written, a
// one-time warning for records past the end of a short image, the status bar,
// the start without an image, and the sector-code option with its notice.
#include "core/sector/SectorCodes.h"
#include "core/text/Messages.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/RecordSave.h"
#include "support/GuiTestSupport.h"
#include "support/ReadOnlyFile.h"
#include "support/SparseImage.h"
#include "support/SyntheticImage.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr Position kImageSize = 0x2C43C00 + 64;
constexpr Position kAlpha = 104; // HP at +12

class ImageStateTest : public ::testing::Test {
protected:
    ImageStateTest() {
        dir.write("unitlist.ini", "UNITS 100\nAlpha, 4\nFar, 90000\n");
        dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
        window.setProgramDirectorySource([this] { return dir.dir(); });
        window.show();
    }

    QPushButton* okOf(int tab) {
        return window.pageSet()->widget(tab)->findChild<QPushButton*>(QStringLiteral("okButton"));
    }
    QString status(const char* name) {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QLineEdit* hp() {
        return window.page<UnitPage>()->findChild<QLineEdit*>(QStringLiteral("hpEdit"));
    }

    TempDir dir;
    GuiSeams seams;
    MainWindow window;
};

TEST_F(ImageStateTest, WithoutAnImageThePagesAreOffAndTheStatusBarSaysHowToOpenOne) {
    EXPECT_FALSE(window.hasImage());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Starfall 롬 에디터 v1.3"));
    for (int tab = 0; tab < window.pageSet()->count(); ++tab)
        EXPECT_FALSE(window.pageSet()->widget(tab)->isEnabled()) << tab;
    EXPECT_TRUE(status("imageStatus").contains(QStringLiteral("열기(Ctrl+O)")));
    window.saveCurrentPage(); // Ctrl+S does nothing
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST_F(ImageStateTest, AWritableImageIsNamedInTheTitleAndTheStatusBar) {
    writeSparseImage(dir.file("whole.img"), kImageSize, {});
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("whole.img"))));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("whole.img[*] - Starfall 롬 에디터 v1.3"));
    for (int tab = 0; tab < window.pageSet()->count(); ++tab) {
        EXPECT_TRUE(window.pageSet()->widget(tab)->isEnabled()) << tab;
        EXPECT_TRUE(okOf(tab)->isEnabled()) << tab;
    }
    EXPECT_TRUE(status("imageStatus").startsWith(QString::fromStdString(dir.file("whole.img"))));
    EXPECT_TRUE(status("imageStatus").contains(QStringLiteral("46,414,912바이트")));
    EXPECT_TRUE(status("imageStatus").contains(QStringLiteral("원시 섹터 아님")));

    hp()->setText(QStringLiteral("7"));
    window.saveCurrentPage();
    EXPECT_TRUE(status("saveStatus").contains(QStringLiteral("'Alpha' 저장: 1바이트")))
        << status("saveStatus").toStdString();
}

TEST_F(ImageStateTest, AReadOnlyImageTurnsTheSaveButtonsOffAndSaysWhy) {
    writeSparseImage(dir.file("locked.img"), kImageSize, {});
    ReadOnlyFile locked(dir.file("locked.img"));
    if (!locked.effective())
        GTEST_SKIP() << "the file system cannot make the image unwritable";
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("locked.img"))));
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("locked.img[*] [읽기 전용] - Starfall 롬 에디터 v1.3"));
    EXPECT_TRUE(status("imageStatus").contains(QStringLiteral("읽기 전용")));
    for (int tab = 0; tab < window.pageSet()->count(); ++tab) {
        EXPECT_FALSE(okOf(tab)->isEnabled()) << tab;
        EXPECT_EQ(okOf(tab)->toolTip(), readOnlySaveTip()) << tab;
    }
    // Choosing another unit does not turn the button back on.
    window.findChild<QTableView*>(QStringLiteral("unitList"))->selectRow(1);
    EXPECT_FALSE(okOf(0)->isEnabled());
    // Ctrl+S still tries, and hears the right reason.
    hp()->setText(QStringLiteral("7"));
    window.saveCurrentPage();
    ASSERT_FALSE(seams.messages.shown.empty());
    EXPECT_EQ(seams.messages.shown.back(),
              messages::imageNotWritable(dir.file("locked.img"), locked.reason()));
}

// Far's record lies past the end of a short image, and so does Kim's.
TEST_F(ImageStateTest, AShortImageWarnsOnceAndMarksTheRecordsPastItsEnd) {
    writeSparseImage(dir.file("short.img"), 200, {});
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("short.img"))));
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0],
              messages::recordsPastImageEnd(dir.file("short.img"), 1, 1, 0));
    auto* units = window.findChild<QTableView*>(QStringLiteral("unitList"));
    const auto* model = static_cast<const NameListModel*>(units->model());
    EXPECT_FALSE(model->pastEnd(0));
    EXPECT_TRUE(model->pastEnd(1));
    EXPECT_TRUE(model->index(1, 0).data(Qt::ToolTipRole).isValid());

    // OK on it with no edits wrote nothing: it says so, not "저장 완료".
    units->selectRow(1);
    okOf(0)->click();
    EXPECT_EQ(seams.messages.shown.back(), messages::nothingChanged());
    units->selectRow(0);
    okOf(0)->click();
    EXPECT_EQ(seams.messages.shown.back(), messages::saveDone());
    EXPECT_EQ(seams.messages.shown.size(), 3u); // the warning came once
}

// The option is remembered and picks the rule every save follows: on a raw
// image with valid codes, Keep leaves the written sector stale and says so.
TEST_F(ImageStateTest, TheSectorCodeOptionPicksTheRuleAndIsRemembered) {
    SyntheticImage raw = SyntheticImage::rawSectors(2);
    std::string bytes = raw.bytes();
    for (std::size_t s = 0; s < 2; ++s)
        sector::writeForm1Codes(sector::Sector(
            reinterpret_cast<std::uint8_t*>(bytes.data()) + s * sector::kSectorSize,
            sector::kSectorSize));
    std::ofstream(dir.file("raw.img"), std::ios::binary) << bytes;
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("raw.img"))));
    EXPECT_TRUE(status("imageStatus").contains(QStringLiteral("섹터 코드 자동 갱신")));
    seams.messages.shown.clear();

    auto* option = window.findChild<QAction*>(QStringLiteral("refreshCodesAction"));
    ASSERT_TRUE(option->isCheckable());
    EXPECT_TRUE(option->isChecked()); // on by default
    hp()->setText(QStringLiteral("7"));
    window.saveCurrentPage();
    EXPECT_EQ(seams.messages.shown, std::vector<Message>{messages::saveDone()});

    option->setChecked(false);
    EXPECT_EQ(saveCodeRule(), CodeRule::Keep);
    EXPECT_TRUE(status("imageStatus").contains(QStringLiteral("섹터 코드 그대로 둠")));
    hp()->setText(QStringLiteral("8"));
    window.saveCurrentPage();
    EXPECT_EQ(seams.messages.shown.back(), messages::staleSectorsKept(dir.file("raw.img"), "0"));

    {
        MainWindow later; // a later run keeps the choice
        EXPECT_FALSE(later.findChild<QAction*>(QStringLiteral("refreshCodesAction"))->isChecked());
    }
    option->setChecked(true);
    EXPECT_EQ(saveCodeRule(), CodeRule::Refresh);
}

TEST_F(ImageStateTest, TheRecentImagesMenuHoldsTheLastEightNewestFirst) {
    for (int i = 0; i < 10; ++i) {
        const std::string image = dir.file("r" + std::to_string(i) + ".img");
        writeSparseImage(image, 4096, {});
        window.openImagePath(QString::fromStdString(image));
    }
    window.openImagePath(QString::fromStdString(dir.file("r5.img")));
    auto* recent = window.findChild<QMenu*>(QStringLiteral("recentMenu"));
    ASSERT_EQ(recent->actions().size(), 8);
    EXPECT_TRUE(recent->actions()[0]->text().endsWith(QStringLiteral("r5.img")));
    EXPECT_TRUE(recent->actions()[1]->text().endsWith(QStringLiteral("r9.img")));
    EXPECT_TRUE(recent->actions()[7]->text().endsWith(QStringLiteral("r2.img")));
    recent->actions()[1]->trigger();
    EXPECT_EQ(window.page<UnitPage>()->imageSession().imagePath, dir.file("r9.img"));
}

} // namespace
