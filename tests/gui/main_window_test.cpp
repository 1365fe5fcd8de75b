#include "core/io/CoreError.h"
#include "core/text/Messages.h"
#include "core/io/TraceChannel.h"
#include "core/text/TraceLines.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/EditorPage.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "support/GuiTestSupport.h"
#include "support/SparseImage.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr Position kImageSize = 0x2C43C00 + 64;

// An image whose upgrade value at (row, stage) is base + 10 * row + stage.
void writeUpgradeImage(const std::string& path, int base) {
    std::vector<SparseRun> runs;
    for (int row = 0; row < kUpgradeRowCount; ++row) {
        std::vector<std::uint8_t> bytes;
        for (int stage = 1; stage <= kUpgradeStageCount; ++stage) {
            const int value = base + 10 * row + stage;
            bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        }
        runs.emplace_back(kUpgradeRows[static_cast<std::size_t>(row)].position, bytes);
    }
    writeSparseImage(path, kImageSize, runs);
}

// A viewer on the trace channel, in a runtime folder of its own for its
// lifetime; the lines it has been sent, without their terminating zero.
class TraceListener {
public:
    TraceListener() {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            m_oldRuntime = old;
        setenv("XDG_RUNTIME_DIR", m_runtime.path().c_str(), 1);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, traceSocketPath().c_str());
        m_fd = socket(AF_UNIX, SOCK_DGRAM, 0);
        m_bound = bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    }
    TraceListener(const TraceListener&) = delete;
    TraceListener& operator=(const TraceListener&) = delete;
    ~TraceListener() {
        close(m_fd);
        if (m_oldRuntime)
            setenv("XDG_RUNTIME_DIR", m_oldRuntime->c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    [[nodiscard]] bool bound() const { return m_bound; }
    std::vector<std::string> lines() {
        std::vector<std::string> got;
        char buffer[512];
        for (ssize_t n; (n = recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) {
            const std::string datagram(buffer, static_cast<std::size_t>(n));
            EXPECT_EQ(datagram.back(), '\0') << datagram;
            got.push_back(datagram.substr(0, datagram.size() - 1));
        }
        return got;
    }

private:
    TempDir m_runtime;
    std::optional<std::string> m_oldRuntime;
    int m_fd = -1;
    bool m_bound = false;
};

QString shownValue(const MainWindow& window, int row, int stage) {
    return window.page<UpgradePage>()->edit(row, stage)->text();
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() {
        dir.write("unitlist.ini", "UNITS 100\nAlpha, 4\nBeta, 8\n");
        dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
        writeUpgradeImage(dir.file("first.img"), 1000);
        writeUpgradeImage(dir.file("second.img"), 5000);
        window.setProgramDirectorySource([this] { return dir.dir(); });
        window.show();
    }

    void answer(const std::string& path) {
        seams.files.answers.emplace_back(QString::fromStdString(path));
    }
    void answerCancel() { seams.files.answers.emplace_back(std::nullopt); }

    void ctrlKey(QWidget* target, Qt::Key key) {
        QTest::keyClick(target, key, Qt::ControlModifier);
    }

    TempDir dir;
    GuiSeams seams;
    MainWindow window;
};

TEST_F(MainWindowTest, CaptionTabsAndPagesExistBeforeAnImageIsOpened) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Starfall 롬 에디터 v1.3"));
    QTabWidget* tabs = window.pageSet();
    ASSERT_EQ(tabs->count(), 3);
    const QStringList captions{"机体", "人物", "改造"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tabs->tabText(i), captions[i]) << i;
    EXPECT_EQ(tabs->widget(0), window.page<UnitPage>());
    EXPECT_EQ(tabs->widget(1), window.page<PilotPage>());
    EXPECT_EQ(tabs->widget(2), window.page<UpgradePage>());
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(window.page<UnitPage>()->imageSession(), ImageSession{});
    EXPECT_EQ(window.page<UpgradePage>()->edit(8, 10)->text(), QString());
    for (EditorPage* page : window.pages())
        EXPECT_EQ(page->owner(), &window) << page->objectName().toStdString();
}

TEST_F(MainWindowTest, MenusCarryTheirItemsWithTheShortcutsInTheText) {
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    struct Expected {
        QString menu;
        QStringList items;
    };
    // Undo and redo of a save carry real shortcuts: a text box with focus
    // keeps Ctrl+Z and Ctrl+Y for its own text.
    const Expected expected[] = {
        // The original and the patches between a separator each and "종료".
        {"파일(&F)",
         {"열기(&O)\tCtrl+O", "최근 이미지(&R)", "저장(&S)\tCtrl+S", "", "원본 이미지 지정…",
          "원본 비교 해제", "바뀐 곳 보기", "", "패치 만들기…", "패치 적용…", "패치 되돌리기…", "",
          "종료(&X)\tCtrl+X"}},
        {"편집(&E)",
         {"저장 취소(&U)", "다시 저장(&R)", "", "저장 기록(&H)…", "저장 기록 지우기(&C)…",
          "저장 기록 남기기(&K)"}},
        {"설정(&S)", {"섹터 코드 자동 갱신(&C)"}},
        {"도움말(&H)", {"프로그램 정보(&V)"}},
    };
    for (int m = 0; m < 4; ++m) {
        EXPECT_EQ(menus[m]->text(), expected[m].menu);
        QStringList items;
        for (QAction* item : menus[m]->menu()->actions())
            items << item->text();
        EXPECT_EQ(items, expected[m].items);
        for (QAction* item : menus[m]->menu()->actions())
            EXPECT_TRUE(m == 1 || item->shortcut().isEmpty()) << item->text().toStdString();
    }
}

TEST_F(MainWindowTest, OpeningHandsEveryPageTheSessionAndLoadsThem) {
    window.pageSet()->setCurrentIndex(2);
    answer(dir.file("first.img"));
    window.openImage();

    const ImageSession expected{dir.file("first.img"), dir.dir()};
    EXPECT_EQ(window.page<UnitPage>()->imageSession(), expected);
    EXPECT_EQ(window.page<PilotPage>()->imageSession(), expected);
    EXPECT_EQ(window.page<UpgradePage>()->imageSession(), expected);
    EXPECT_EQ(window.pageSet()->currentIndex(), MainWindow::kFirstTab);
    EXPECT_EQ(window.page<UnitPage>()->nameList().entries.size(), 2u);
    EXPECT_EQ(window.page<PilotPage>()->nameList().baseOffset, 200);
    EXPECT_EQ(shownValue(window, 0, 1), QStringLiteral("1001"));
    EXPECT_EQ(shownValue(window, 8, 10), QStringLiteral("1090"));
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST_F(MainWindowTest, CancelLeavesEveryPageAsItWas) {
    answer(dir.file("first.img"));
    window.openImage();
    window.page<UpgradePage>()->edit(2, 3)->setText(QStringLiteral("77"));
    window.pageSet()->setCurrentIndex(1);

    answerCancel();
    window.openImage();

    EXPECT_EQ(seams.files.asked, 2);
    EXPECT_EQ(window.page<UpgradePage>()->imageSession().imagePath, dir.file("first.img"));
    EXPECT_EQ(window.page<UnitPage>()->imageSession().imagePath, dir.file("first.img"));
    EXPECT_EQ(shownValue(window, 2, 3), QStringLiteral("77"));
    EXPECT_EQ(window.pageSet()->currentIndex(), 1);
}

TEST_F(MainWindowTest, CancelBeforeAnyImageChangesNothing) {
    window.openImage();
    EXPECT_EQ(seams.files.asked, 1);
    EXPECT_EQ(window.page<UpgradePage>()->imageSession(), ImageSession{});
    EXPECT_EQ(shownValue(window, 0, 1), QString());
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST_F(MainWindowTest, ASecondImageReplacesTheFirstAndDropsUnsavedEdits) {
    answer(dir.file("first.img"));
    answer(dir.file("second.img"));
    window.openImage();
    window.page<UpgradePage>()->edit(0, 1)->setText(QStringLiteral("4"));
    window.openImage();

    EXPECT_EQ(window.page<PilotPage>()->imageSession().imagePath, dir.file("second.img"));
    EXPECT_EQ(shownValue(window, 0, 1), QStringLiteral("5001"));
    EXPECT_EQ(readFileRange(dir.file("first.img"), kUpgradeRows[0].position, 2),
              (std::vector<std::uint8_t>{0xE9, 0x03}));
}

// Nothing loads and the program goes on, without an image: File > Open works.
TEST_F(MainWindowTest, AMissingListIsReportedBeforeAnythingElseLoads) {
    std::filesystem::remove(dir.file("unitlist.ini"));
    answer(dir.file("first.img"));
    EXPECT_NO_THROW(window.openImage());
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0],
              messages::listFileMissing(
                  "unitlist.ini", listFoldersFor(dir.dir(), dir.file("first.img")).lines()));
    EXPECT_TRUE(window.page<PilotPage>()->nameList().entries.empty());
    EXPECT_EQ(window.page<UpgradePage>()->imageSession(), ImageSession{});
    EXPECT_EQ(shownValue(window, 0, 1), QString());
    EXPECT_FALSE(window.hasImage());
    EXPECT_TRUE(window.isVisible());
}

TEST_F(MainWindowTest, AnImageThatCannotBeOpenedIsNamedWithTheSystemsReason) {
    answer(dir.file("missing.img"));
    EXPECT_NO_THROW(window.openImage());
    ASSERT_EQ(seams.messages.shown.size(), 1u);
    EXPECT_EQ(seams.messages.shown[0],
              messages::withReason(messages::fileOpenFailure(dir.file("missing.img")),
                                   std::strerror(ENOENT)));
    EXPECT_FALSE(window.hasImage());
}

// Ctrl+O from the window itself and from the unit and pilot pages asks exactly
// once; the plain keys do nothing.
TEST_F(MainWindowTest, CtrlOOpensFromTheWindowAndFromThePages) {
    QWidget* targets[] = {&window, window.page<UnitPage>(), window.page<PilotPage>()};
    int expected = 0;
    for (QWidget* target : targets) {
        QTest::keyClick(target, Qt::Key_O);
        EXPECT_EQ(seams.files.asked, expected) << target->objectName().toStdString();
        ctrlKey(target, Qt::Key_O);
        EXPECT_EQ(seams.files.asked, ++expected) << target->objectName().toStdString();
    }
    EXPECT_TRUE(window.isVisible());
}

// The captions carry no mnemonic: Alt and a digit bring a tab forward from
// anywhere, and Alt and a letter press the button of the page shown only.
TEST_F(MainWindowTest, AltKeysBringTabsForwardAndPressTheShownPagesButtons) {
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("first.img"))));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTabWidget* tabs = window.pageSet();
    for (const int tab : {2, 0, 1}) {
        QTest::keyClick(&window,
                        static_cast<Qt::Key>(Qt::Key_1 + tab), Qt::AltModifier);
        EXPECT_EQ(tabs->currentIndex(), tab);
        EXPECT_EQ(tabs->tabToolTip(tab), QStringLiteral("Alt+%1").arg(tab + 1));
    }
    std::map<QObject*, int> pressed;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        auto* cancel = tabs->widget(tab)->findChild<QPushButton*>(QStringLiteral("cancelButton"));
        QObject::connect(cancel, &QPushButton::clicked, [&pressed, cancel] { ++pressed[cancel]; });
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(cancel);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->actionInterface()->keyBindingsForAction(
                      QAccessibleActionInterface::pressAction()),
                  QStringList{QStringLiteral("Alt+C")});
    }
    QTest::keyClick(&window, Qt::Key_C, Qt::AltModifier);
    QObject* shown =
        tabs->currentWidget()->findChild<QPushButton*>(QStringLiteral("cancelButton"));
    QTRY_COMPARE(pressed.size(), 1U);
    EXPECT_EQ(pressed, (std::map<QObject*, int>{{shown, 1}}));
}

TEST_F(MainWindowTest, CtrlXClosesTheWindowFromEachPlace) {
    QWidget* places[] = {&window, window.page<UnitPage>(), window.page<PilotPage>()};
    for (QWidget* place : places) {
        window.show();
        QTest::keyClick(place, Qt::Key_X);
        EXPECT_TRUE(window.isVisible()) << place->objectName().toStdString();
        ctrlKey(place, Qt::Key_X);
        EXPECT_FALSE(window.isVisible()) << place->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, QuitItemClosesLikeCtrlX) {
    QAction* quit = window.findChild<QAction*>(QStringLiteral("quitAction"));
    ASSERT_NE(quit, nullptr);
    quit->trigger();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, EscapeAndEnterNeitherCloseNorChangeAnything) {
    answer(dir.file("first.img"));
    window.openImage();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&window, key);
        EXPECT_TRUE(window.isVisible()) << key;
    }
    EXPECT_EQ(shownValue(window, 0, 1), QStringLiteral("1001"));
    EXPECT_EQ(seams.files.asked, 1);
}

// The unit page, the pilot page and the weapon editor all trace through the
// channel, and the weapon editor reads weapon.ini from the folder the pages
// were given.
TEST_F(MainWindowTest, EveryRecordLoadTracesThroughTheChannel) {
    TraceListener viewer;
    ASSERT_TRUE(viewer.bound());
    dir.write("weapon.ini", "[WEAPON_NAME]\n5=Beam Saber\n");
    // Alpha lies at 104; its weapon list (weapons 5, 1285 and 7) at 128.
    writeSparseImage(dir.file("armed.img"), kImageSize,
                     {{126, {3, 0, 5, 0, 0, 0, 0x05, 0x0D, 0, 0, 7, 0xF8, 0, 0}}});
    answer(dir.file("armed.img"));
    window.openImage();
    EXPECT_EQ(viewer.lines(), (std::vector<std::string>{messages::unitTrace("Alpha", 104),
                                                        messages::pilotTrace("Kim", 212)}));

    QString firstWeapon;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        if (auto* list = dialog->findChild<QTableView*>(QStringLiteral("weaponList")))
            firstWeapon = list->model()->index(0, 0).data().toString();
        dialog->close();
    });
    window.page<UnitPage>()->findChild<QPushButton*>(QStringLiteral("weaponsButton"))->click();
    EXPECT_EQ(firstWeapon, QStringLiteral("Beam Saber"));
    EXPECT_EQ(viewer.lines(), std::vector<std::string>{messages::weaponTrace(46381597)});
    EXPECT_TRUE(seams.messages.shown.empty());
}

TEST(AboutBoxTest, ShowsIconNameAndCloseButton) {
    AboutDialog about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("프로그램 정보"));
    const auto* text = about.findChild<QLabel*>(QStringLiteral("aboutText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("Starfall Editor v1.3"));
    const auto* icon = about.findChild<QLabel*>(QStringLiteral("aboutIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    auto* close = about.findChild<QPushButton*>(QStringLiteral("closeButton"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("关闭"));
    about.show();
    close->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
