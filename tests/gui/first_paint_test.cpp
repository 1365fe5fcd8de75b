// A window that builds its front page first and the rest after its first
// paint: once built, it is the window built all at once, at every scale; and
// whatever needs a later page builds it first, with the image, the read-only
// state and the unsaved-edits question in force. What spares the first paint
// work draws the same: the name lists' header measures as Qt's own, and
// every text the window shows is in the editor's one face.
#include "core/text/Messages.h"
#include "gui/app/EditorSettings.h"
#include "gui/app/MainWindow.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/EditorFonts.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/RecordSave.h"
#include "support/GuiTestSupport.h"
#include "support/ReadOnlyFile.h"
#include "support/SparseImage.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRawFont>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace starfall;
using namespace starfall::test;

namespace {

constexpr Position kImageSize = 0x2C43C00 + 64;

// What a user or a screen reader can tell of every named widget: its class,
// accessible name, text, buddy and enabled state, by object name (with a
// count for names several widgets share).
std::map<QString, QString> describe(const QWidget& window) {
    std::map<QString, QString> seen;
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QStringLiteral("qt_")))
            continue;
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            text = label->text();
            if (label->buddy() != nullptr)
                text += QStringLiteral(" > ") + label->buddy()->objectName();
        } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
            text = button->text();
        }
        QString key = w->parentWidget()->objectName() + QLatin1Char('/') + w->objectName();
        while (seen.count(key) > 0)
            key += QLatin1Char('+');
        seen[key] = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char('|') +
                    w->accessibleName() + QLatin1Char('|') + text + QLatin1Char('|') +
                    (w->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"));
    }
    return seen;
}

// The object names Tab visits on the current page, from its first control.
QStringList tabOrder(QWidget& window) {
    QWidget* page = window.findChild<QTabWidget*>(QStringLiteral("pageSet"))->currentWidget();
    QStringList order;
    for (QWidget* w = page->nextInFocusChain(); w != page; w = w->nextInFocusChain()) {
        if (w->isVisibleTo(&window) && (w->focusPolicy() & Qt::TabFocus) && page->isAncestorOf(w))
            order << w->objectName();
    }
    return order;
}

class FirstPaintTest : public ::testing::Test {
protected:
    FirstPaintTest() {
        dir.write("unitlist.ini", "UNITS 100\nAlpha, 4\n");
        dir.write("charlist.ini", "PILOTS 200\nKim, 12\n");
        writeSparseImage(dir.file("demo.img"), kImageSize, {});
        window.setProgramDirectorySource([this] { return dir.dir(); });
    }

    // The page set as the window holds it, without building anything.
    QTabWidget* heldPages() { return window.findChild<QTabWidget*>(QStringLiteral("pageSet")); }

    TempDir dir;
    GuiSeams seams;
    MainWindow window{nullptr, PageBuild::FrontPageFirst};
};

TEST_F(FirstPaintTest, OnceBuiltTheWindowIsTheOneBuiltAllAtOnce) {
    MainWindow whole;
    whole.show();
    window.show();
    const QSize shown = window.size();
    EXPECT_FALSE(window.restBuilt());
    EXPECT_EQ(qobject_cast<UnitPage*>(heldPages()->widget(0)) != nullptr, true);
    window.buildRest();
    // The size the first paint had is the size of the window built whole.
    EXPECT_EQ(shown, whole.size());
    EXPECT_EQ(window.size(), whole.size());
    EXPECT_EQ(window.minimumSize(), whole.minimumSize());
    EXPECT_EQ(window.maximumSize(), whole.maximumSize());
    EXPECT_EQ(describe(window), describe(whole));
    EXPECT_FALSE(window.windowIcon().isNull());
    for (int tab = 0; tab < whole.pageSet()->count(); ++tab) {
        whole.pageSet()->setCurrentIndex(tab);
        window.pageSet()->setCurrentIndex(tab);
        EXPECT_EQ(tabOrder(window), tabOrder(whole)) << tab;
        EXPECT_EQ(window.pageSet()->tabText(tab), whole.pageSet()->tabText(tab));
        EXPECT_EQ(window.pageSet()->tabToolTip(tab), whole.pageSet()->tabToolTip(tab));
    }
}

// Each way in builds the rest before it hands anything out.
TEST_F(FirstPaintTest, WhateverNeedsALaterPageBuildsItFirst) {
    const std::pair<const char*, std::function<void(MainWindow&)>> ways[] = {
        {"pages", [](MainWindow& w) { (void)w.pages(); }},
        {"page", [](MainWindow& w) { EXPECT_NE(w.page<UpgradePage>(), nullptr); }},
        {"page set", [](MainWindow& w) { EXPECT_EQ(w.pageSet()->count(), 3); }},
        {"tab switch",
         [](MainWindow& w) {
             auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("pageSet"));
             tabs->findChild<QTabBar*>()->setCurrentIndex(2);
             EXPECT_EQ(tabs->currentIndex(), 2);
             EXPECT_NE(qobject_cast<UpgradePage*>(tabs->currentWidget()), nullptr);
         }},
        {"key", [](MainWindow& w) { w.handleKeyDown(Qt::Key_S); }},
        {"first paint",
         [](MainWindow& w) {
             w.show();
             EXPECT_TRUE(QTest::qWaitFor([&] { return w.restBuilt(); }));
         }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        MainWindow later(nullptr, PageBuild::FrontPageFirst);
        EXPECT_FALSE(later.restBuilt());
        way(later);
        EXPECT_TRUE(later.restBuilt());
        auto* tabs = later.findChild<QTabWidget*>(QStringLiteral("pageSet"));
        EXPECT_NE(qobject_cast<PilotPage*>(tabs->widget(1)), nullptr);
        EXPECT_NE(qobject_cast<UpgradePage*>(tabs->widget(2)), nullptr);
        EXPECT_EQ(later.findChildren<QWidget*>(QStringLiteral("pageToCome1")).size(), 0);
        for (int tab = 0; tab < tabs->count(); ++tab)
            EXPECT_FALSE(tabs->widget(tab)->isEnabled()) << tab; // no image yet
    }
}

TEST_F(FirstPaintTest, PagesBuiltAfterAnImageOpenShowItAndAskBeforeDroppingEdits) {
    const QString image = QString::fromStdString(dir.file("demo.img"));
    ASSERT_TRUE(window.openImagePath(image));
    EXPECT_FALSE(window.restBuilt()); // opening at start-up needs the front page only
    EXPECT_FALSE(settings::recentImages().contains(image)); // no settings write yet
    const ImageSession opened = window.builtPage<UnitPage>()->imageSession();
    window.buildRest();
    EXPECT_EQ(settings::recentImages().value(0), image);
    for (EditorPage* page : window.pages()) {
        EXPECT_TRUE(page->isEnabled());
        EXPECT_EQ(page->imageSession(), opened);
    }
    EXPECT_EQ(window.page<PilotPage>()->nameList().entries.size(), 1u);
    EXPECT_TRUE(window.mayDropEdits()); // nothing edited, nothing asked
    EXPECT_TRUE(seams.messages.asked.empty());

    window.page<UpgradePage>()->edit(0, 1)->setText(QStringLiteral("9"));
    EXPECT_TRUE(window.pageSet()->tabText(2).endsWith(QStringLiteral(" *")));
    seams.messages.answers = {EditsChoice::Cancel};
    EXPECT_FALSE(window.mayDropEdits());
    ASSERT_EQ(seams.messages.asked.size(), 1u);
    EXPECT_EQ(seams.messages.asked.front(), messages::unsavedEdits());
}

TEST_F(FirstPaintTest, PagesBuiltAfterAReadOnlyImageOpenKeepTheirSaveButtonsOff) {
    ReadOnlyFile locked(dir.file("demo.img"));
    if (!locked.effective())
        GTEST_SKIP() << "the file system cannot make the image unwritable";
    ASSERT_TRUE(window.openImagePath(QString::fromStdString(dir.file("demo.img"))));
    window.buildRest();
    for (int tab = 0; tab < window.pageSet()->count(); ++tab) {
        auto* ok = window.pageSet()->widget(tab)->findChild<QPushButton*>(QStringLiteral("okButton"));
        EXPECT_FALSE(ok->isEnabled()) << tab;
        EXPECT_EQ(ok->toolTip(), readOnlySaveTip()) << tab;
    }
}

// The name lists' header is as tall as the one Qt gives a table, whose
// sections are measured in bold, at every size the editor's face is shown in
// (this test also runs at 150 % and 200 %), and its sections still take clicks.
TEST(NameListHeader, IsAsTallAsQtsOwnAndTakesClicks) {
    const std::array<QString, 2> captions{QStringLiteral("유니트 이름"), QStringLiteral("유니트 주소")};
    for (const int points : {9, 12, 20}) {
        SCOPED_TRACE(points);
        QFont font = editorFont();
        font.setPointSize(points);
        QWidget parent;
        parent.setFont(font);
        auto* model = new NameListModel(captions, &parent);
        QTableView* ours =
            makeNameListView({QStringLiteral("names"), QStringLiteral("목록"), 110}, model, &parent);
        QTableView plain(&parent);
        plain.setModel(model);
        plain.setColumnHidden(NameListModel::kTextColumn, true);
        EXPECT_EQ(ours->horizontalHeader()->sizeHint().height(),
                  plain.horizontalHeader()->sizeHint().height());
        EXPECT_EQ(ours->horizontalHeader()->sectionsClickable(),
                  plain.horizontalHeader()->sectionsClickable());
        EXPECT_STREQ(ours->horizontalHeader()->metaObject()->className(), "QHeaderView");
    }
}

// Every text of every page, menu and list, Korean, Chinese and Latin alike, is
// drawn by the editor's own face, with nothing left to a fallback face.
TEST(EditorFont, HoldsEveryCharacterTheWindowShows) {
    MainWindow window;
    QStringList texts;
    for (const QObject* shown : window.findChildren<QObject*>()) {
        for (const char* property : {"text", "title"})
            texts << shown->property(property).toString();
        const QAbstractItemModel* items = nullptr;
        if (const auto* list = qobject_cast<const QAbstractItemView*>(shown))
            items = list->model();
        else if (const auto* combo = qobject_cast<const QComboBox*>(shown))
            items = combo->model();
        for (int row = 0; items != nullptr && row < items->rowCount(); ++row)
            texts << items->index(row, 0).data().toString();
        for (int column = 0; items != nullptr && column < items->columnCount(); ++column)
            texts << items->headerData(column, Qt::Horizontal).toString();
    }
    for (int tab = 0; tab < window.pageSet()->count(); ++tab)
        texts << window.pageSet()->tabText(tab);
    ASSERT_GT(texts.join(QString()).size(), 1000);
    const QRawFont face = QRawFont::fromFont(editorFont());
    ASSERT_TRUE(face.isValid());
    for (const QString& text : texts) {
        for (const char32_t c : text.toUcs4()) {
            if (c > u' ' && c != u'&') {
                EXPECT_TRUE(face.supportsCharacter(c))
                    << text.toStdString() << " U+" << std::hex << static_cast<unsigned>(c);
            }
        }
    }
}

} // namespace
