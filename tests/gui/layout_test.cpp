// The frame and the room of every window: a dialog's frame without minimise
// or maximise box, a size that does not change, and enough room that no
// label, button, list item or field text is cut. It runs three times, at
// 100 % and with QT_SCALE_FACTOR=1.5 and 2.0, on a 1920 x 1200 screen.
#include "gui/app/AboutDialog.h"
#include "gui/app/MainWindow.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/EditorFrame.h"
#include "gui/pages/EditorPage.h"
#include "gui/widgets/StepEdit.h"
#include "gui/pages/SkillDialog.h"
#include "gui/widgets/AbilityTickList.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/WeaponDialog.h"

#include "support/GuiTestSupport.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

#include <cmath>

using namespace starfall;

namespace {

std::string nameOf(const QWidget* w) {
    return w->objectName().toStdString() + " (" + w->metaObject()->className() + ")";
}

void expectDialogFrame(const QWidget& window) {
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << nameOf(&window);
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << nameOf(&window);
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << nameOf(&window);
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << nameOf(&window);
    EXPECT_EQ(window.size(), window.minimumSize()) << nameOf(&window);
}

// The width a control needs to show its text whole.
int neededWidth(const QWidget* w) {
    if (const auto* step = qobject_cast<const StepEdit*>(w))
        return step->sizeHint().width();
    if (qobject_cast<const DigitsEdit*>(w)) {
        // A 16-bit value, the widest any box shows.
        const auto* edit = static_cast<const QLineEdit*>(w);
        return w->fontMetrics().horizontalAdvance(QStringLiteral("65535")) + w->width() -
               edit->contentsRect().width() + 4;
    }
    if (qobject_cast<const QLineEdit*>(w))
        return w->fontMetrics().horizontalAdvance(QStringLiteral("검색어를 여기에"));
    // A button's own hint adds the style's least width; its text is what counts.
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return w->fontMetrics().horizontalAdvance(button->text()) + 8;
    return w->sizeHint().width();
}

bool showsText(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return !label->text().isEmpty();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QLineEdit*>(w) || qobject_cast<const StepEdit*>(w);
}

bool insideASpinBox(const QWidget* w) {
    return qobject_cast<const StepEdit*>(w->parentWidget()) != nullptr;
}

// Every visible control of `root` (the showing tab of a window) has the room
// its text needs; every ability list shows its items whole.
int expectNothingCut(const QWidget& root) {
    int checked = 0;
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        if (!w->isVisible() || !showsText(w) || insideASpinBox(w))
            continue;
        ++checked;
        EXPECT_GE(w->width(), neededWidth(w)) << nameOf(w);
        EXPECT_GE(w->height(), w->minimumSizeHint().height()) << nameOf(w);
    }
    for (const AbilityTickList* list : root.findChildren<AbilityTickList*>()) {
        if (!list->isVisible())
            continue;
        for (int row = 0; row < list->count(); ++row)
            EXPECT_GE(list->viewport()->width(),
                      list->sizeHintForIndex(list->model()->index(row, 0)).width())
                << nameOf(list) << " row " << row;
    }
    return checked;
}

// The room the screen leaves a window below its title bar.
QSize roomOn(const QWidget& window) {
    const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return window.screen()->availableGeometry().size() - QSize(0, titleBar);
}

// A fixed dialog frame where the pages fit the screen. Where they do not,
// the window fits and can be made smaller, and the pages scroll at the size
// they ask for, so that nothing is squeezed or out of reach.
void expectFrameThatFits(const MainWindow& window) {
    const auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("pageScroll"));
    if (scroll == nullptr) {
        expectDialogFrame(window);
        EXPECT_LE(window.height(), roomOn(window).height());
        return;
    }
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_LT(window.minimumHeight(), window.maximumHeight());
    EXPECT_LE(window.height(), roomOn(window).height());
    EXPECT_LE(window.width(), roomOn(window).width());
    EXPECT_EQ(scroll->widget(), window.pageSet());
    EXPECT_GE(window.pageSet()->height(), window.pageSet()->minimumSizeHint().height());
}

TEST(LayoutTest, TheMainWindowFitsTheScreenAndEveryPageShowsItsTextsWhole) {
    test::GuiSeams seams;
    MainWindow window;
    window.show();
    expectFrameThatFits(window);
    for (int tab = 0; tab < window.pageSet()->count(); ++tab) {
        window.pageSet()->setCurrentIndex(tab);
        SCOPED_TRACE(tab);
        EXPECT_GT(expectNothingCut(*window.pageSet()->currentWidget()), 10);
    }
}

// At 200 % a 1920 x 1200 screen has no room for the pages: they scroll, and
// every page's save button can be scrolled into sight. At 100 % and 150 % the
// window keeps its fixed size.
TEST(LayoutTest, AtEveryScaleTheSaveButtonsCanBeReached) {
    test::GuiSeams seams;
    MainWindow window;
    window.show();
    const double scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("pageScroll"));
    EXPECT_EQ(scroll != nullptr, scale >= 2.0) << scale;
    for (int tab = 0; tab < window.pageSet()->count(); ++tab) {
        window.pageSet()->setCurrentIndex(tab);
        auto* ok = window.pageSet()->currentWidget()->findChild<QPushButton*>(
            QStringLiteral("okButton"));
        ASSERT_NE(ok, nullptr) << tab;
        if (scroll != nullptr)
            scroll->ensureWidgetVisible(ok);
        const QRect onWindow(ok->mapTo(&window, QPoint(0, 0)), ok->size());
        const QRect shown = scroll != nullptr
                                ? QRect(scroll->viewport()->mapTo(&window, QPoint(0, 0)),
                                        scroll->viewport()->size())
                                : window.rect();
        EXPECT_TRUE(shown.contains(onWindow)) << tab;
    }
}

TEST(LayoutTest, TheNameListsTakeTheirPagesHeightAndKeepTheirNameColumn) {
    test::GuiSeams seams;
    MainWindow window;
    window.show();
    const std::pair<const char*, int> lists[] = {{"unitList", 0}, {"pilotList", 1}};
    for (const auto& [name, tab] : lists) {
        window.pageSet()->setCurrentIndex(tab);
        auto* list = window.findChild<QTableView*>(QString::fromLatin1(name));
        ASSERT_NE(list, nullptr) << name;
        EXPECT_EQ(list->columnWidth(0), 110) << name;
        // Narrow: the name column and a scroll bar, no empty band beside them.
        EXPECT_LT(list->width(), 110 + 60) << name;
        // Tall: at least three quarters of the page it stands on.
        EXPECT_GE(list->height() * 4, window.pageSet()->currentWidget()->height() * 3) << name;
    }
}

TEST(LayoutTest, DialogsAreFixedFramesThatShowTheirTextsWhole) {
    test::GuiSeams seams;
    test::TempDir dir;
    dir.write("blank.img", std::string(64, '\0')); // no weapons, no skills
    WeaponDialog weapons(WeaponHandOver{dir.file("blank.img"), "x", "0\n", 2},
                       WeaponDialogServices{[&dir] { return dir.dir(); }, {}});
    SkillDialog skills(SkillDialogRequest{dir.file("blank.img"), "x", 0});
    AboutDialog about;
    for (QWidget* dialog : std::initializer_list<QWidget*>{&weapons, &skills, &about}) {
        SCOPED_TRACE(nameOf(dialog));
        dialog->show();
        expectDialogFrame(*dialog);
        EXPECT_GE(expectNothingCut(*dialog), 2);
    }
    // "50", and any byte, whole in both range fields.
    for (const char* name : {"rangeNearEdit", "rangeFarEdit"}) {
        auto* range = weapons.findChild<StepEdit*>(QString::fromLatin1(name));
        ASSERT_NE(range, nullptr);
        EXPECT_GE(range->edit()->contentsRect().width(),
                  range->fontMetrics().horizontalAdvance(QStringLiteral("255")))
            << name;
    }
}

// Showing settles the relayouts it sets off before the first paint, so the
// window is not painted a second time right after. (An item view's viewport
// may repaint once more when the view lays out its items, which it does on
// a timer of its own; that repaints the view alone, and the line that keeps
// its frame whole at a fractional scale over it.)
TEST(LayoutTest, ShowingTheMainWindowPaintsEachControlOnce) {
    test::GuiSeams seams;
    MainWindow window;
    test::PaintCounter counter;
    for (QWidget* control : window.pageSet()->currentWidget()->findChildren<QWidget*>()) {
        if (control->objectName() != QLatin1String("qt_scrollarea_viewport") &&
            control->objectName() != QLatin1String("frameLine"))
            control->installEventFilter(&counter);
    }
    showSettled(window);
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 300)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_GT(counter.painted.size(), 20U);
    for (const auto& [control, paints] : counter.painted)
        EXPECT_EQ(paints, 1) << nameOf(static_cast<QWidget*>(control));
}

// At every scale each framed list shows its border on all four sides, drawn
// darker than what lies either side of it, and a long name stops short of
// its cell's grid lines.
TEST(LayoutTest, ListsKeepTheirFrameLinesAndTheirCellMargins) {
    test::GuiSeams seams;
    test::TempDir dir;
    dir.write("unitlist.ini", "UNITS 100\nA, 4\nABCDEFGHIJKLMNOPQRSTUVWXYZ, 4\n");
    dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
    dir.write("x.img", std::string(64, '\0'));
    MainWindow window;
    window.setProgramDirectorySource([&dir] { return dir.dir(); });
    window.show();
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("x.img"))));
    const QImage shot = window.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    auto lightness = [&](QPointF at) {
        const QPointF device = at * ratio;
        return QColor(shot.pixel(int(std::floor(device.x())), int(std::floor(device.y()))))
            .lightness();
    };
    // The darkest pixel across an edge, against the lightest beside it.
    auto edgeShows = [&](QPointF edge, QPointF across) {
        int darkest = 255, lightest = 0;
        for (int step = -3; step <= 3; ++step) {
            const int tone = lightness(edge + across * step / ratio);
            (std::abs(step) <= 1 ? darkest : lightest) =
                std::abs(step) <= 1 ? std::min(darkest, tone) : std::max(lightest, tone);
        }
        return darkest + 20 < lightest;
    };
    for (const auto* list : window.findChildren<QAbstractItemView*>()) {
        if (!list->isVisible() || list->frameWidth() == 0)
            continue;
        SCOPED_TRACE(nameOf(list));
        // The centres of the outermost device pixels inside the list.
        const QRectF box = QRectF(list->mapTo(&window, QPointF(0, 0)), QSizeF(list->size()))
                               .adjusted(0.5 / ratio, 0.5 / ratio, -0.5 / ratio, -0.5 / ratio);
        const QPointF middle = box.center();
        // At 200 % the pages scroll, and a list's lower edge may lie out of sight.
        const QRect seen = list->visibleRegion().boundingRect();
        const std::pair<QPointF, QPointF> sides[] = {{{box.left(), middle.y()}, {1, 0}},
                                                     {{box.right(), middle.y()}, {1, 0}},
                                                     {{middle.x(), box.top()}, {0, 1}},
                                                     {{middle.x(), box.bottom()}, {0, 1}}};
        for (const auto& [edge, across] : sides) {
            if (seen.contains(list->mapFrom(&window, edge.toPoint()))) {
                EXPECT_TRUE(edgeShows(edge, across)) << edge.x() << ',' << edge.y();
            }
        }
    }

    auto* units = window.findChild<QTableView*>(QStringLiteral("unitList"));
    QRect cell = units->visualRect(units->model()->index(1, 0)); // not the selected row
    cell.translate(units->viewport()->mapTo(&window, QPoint(0, 0)));
    for (const int x : {cell.left() + 1, cell.left() + 2, cell.left() + 3, cell.left() + 4,
                        cell.right() - 4, cell.right() - 3, cell.right() - 2, cell.right() - 1})
        for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
            EXPECT_GT(lightness({x + 0.5, y + 0.5}), 200) << "ink at " << x << ',' << y;
}

} // namespace
