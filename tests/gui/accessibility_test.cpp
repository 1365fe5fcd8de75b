// Every control of the main window and of both dialogs can be found by UI
// automation: it has an object name, and a field has a name a screen reader
// can announce (its own, or a label's that points at it).
#include "gui/app/MainWindow.h"
#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/StepEdit.h"
#include "gui/pages/PilotPage.h"
#include "gui/pages/UnitPage.h"
#include "gui/pages/UpgradePage.h"
#include "gui/widgets/AbilityTickList.h"
#include "gui/pages/SkillDialog.h"
#include "gui/pages/WeaponDialog.h"

#include "support/GuiTestSupport.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QPalette>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <set>

using namespace starfall;

namespace {

bool isControl(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QGroupBox*>(w);
}

// A field's announced name: its accessible name, else the text of a label
// whose buddy it is. Buttons and groups announce their own text.
QString announcedName(const QWidget* w, const std::set<const QWidget*>& buddies) {
    if (!w->accessibleName().isEmpty() || buddies.count(w) != 0)
        return w->accessibleName().isEmpty() ? QStringLiteral("(label)") : w->accessibleName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
        return group->title();
    return {};
}

bool insideAControl(const QWidget* w) {
    for (const QWidget* up = w->parentWidget(); up != nullptr; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(up) || qobject_cast<const QComboBox*>(up))
            return true;
    }
    return w->objectName().startsWith(QLatin1String("qt_"));
}

void expectReachable(const QWidget& root, const char* what) {
    std::set<const QWidget*> buddies;
    for (const QLabel* label : root.findChildren<QLabel*>())
        buddies.insert(label->buddy());
    int controls = 0;
    for (const QWidget* w : root.findChildren<QWidget*>()) {
        // The parts Qt builds inside a control (a combo's popup, a view's
        // scroll bars and headers) are reached through their control.
        if (!isControl(w) || w->window() != root.window() || insideAControl(w))
            continue;
        ++controls;
        EXPECT_FALSE(w->objectName().isEmpty())
            << what << ": a " << w->metaObject()->className() << " has no object name";
        EXPECT_FALSE(announcedName(w, buddies).isEmpty())
            << what << ": " << w->objectName().toStdString() << " has no name to announce";
    }
    EXPECT_GT(controls, 10) << what;
}

TEST(AccessibilityTest, MainWindowPagesAndDialogsNameEveryControl) {
    test::GuiSeams seams;
    test::TempDir dir;
    MainWindow window;
    expectReachable(window, "main window");

    SkillDialog skills(SkillDialogRequest{dir.file("none.img"), "x", 0});
    expectReachable(skills, "skill editor");

    WeaponDialog weapons(WeaponHandOver{dir.file("none.img"), "x", "0\n", 0},
                       WeaponDialogServices{[&dir] { return dir.dir(); }, {}});
    expectReachable(weapons, "weapon editor");
}

// On Linux a drop-down is announced by the item it shows, so each row of the
// skill editor and of the pilot page's spirit group is told apart by the
// label its controls are related to.
QString labelledAs(QWidget* control) {
    const auto labels =
        QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

TEST(AccessibilityTest, EachSkillAndSpiritRowIsAnnouncedByItsNumber) {
    test::GuiSeams seams;
    test::TempDir dir;
    SkillDialog skills(SkillDialogRequest{dir.file("none.img"), "x", 0});
    for (int slot = 1; slot <= kMaxSkillSlots; ++slot) {
        EXPECT_EQ(labelledAs(skills.skillList(slot)), QStringLiteral("技能 %1").arg(slot));
        EXPECT_EQ(labelledAs(skills.levelEdit(slot)), QStringLiteral("习得等级 %1").arg(slot));
    }
    PilotPage pilots;
    for (std::size_t row = 0; row < kSpiritCount; ++row) {
        const QString number = QString::number(row + 1);
        EXPECT_EQ(labelledAs(pilots.ui().spirits[row].command), QStringLiteral("精神 ") + number);
        EXPECT_EQ(labelledAs(pilots.ui().spirits[row].level), QStringLiteral("习得等级 ") + number);
    }
}

// The notices are labels a screen reader reads, not pictures.
TEST(AccessibilityTest, TheNoticesAreTextThatScreenReadersHear) {
    test::GuiSeams seams;
    test::TempDir dir;
    SkillDialog skills(SkillDialogRequest{dir.file("none.img"), "x", 0});
    UpgradePage upgrades;
    for (const QWidget* owner : std::initializer_list<const QWidget*>{&skills, &upgrades}) {
        const auto* notice = owner->findChild<QLabel*>(QStringLiteral("noticeStrip"));
        ASSERT_NE(notice, nullptr) << owner->objectName().toStdString();
        EXPECT_TRUE(notice->accessibleName().startsWith(QStringLiteral("※ ")));
        EXPECT_TRUE(notice->text().contains(notice->accessibleName().toHtmlEscaped()));
    }
}

// One highlighted row per list, and only the list with the focus shows it in
// the highlight colour.
TEST(AccessibilityTest, OnlyTheFocusedAbilityListShowsTheHighlight) {
    test::GuiSeams seams;
    UnitPage page;
    page.show();
    QApplication::setActiveWindow(&page);
    AbilityTickList* first = page.abilityList(0);
    AbilityTickList* second = page.abilityList(1);
    EXPECT_EQ(first->selectionMode(), QAbstractItemView::SingleSelection);
    first->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(first->hasFocus());
    const auto highlight = [](const QWidget* list) {
        return list->palette().color(QPalette::Active, QPalette::Highlight);
    };
    EXPECT_EQ(highlight(first), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_NE(highlight(second), highlight(first));
    second->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(highlight(second), QApplication::palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_NE(highlight(first), highlight(second));
}

} // namespace
