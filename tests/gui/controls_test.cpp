// The controls every page and dialog is built from: the digits-only edit, the
// spin control whose arrows report to its owner, the drop-down list that
// keeps an unlisted code, the row names screen readers announce, and the
// list over a NameList.
#include "gui/widgets/ChoiceCombo.h"
#include "gui/widgets/ControlLabels.h"
#include "gui/widgets/DigitsEdit.h"
#include "gui/widgets/NameListView.h"
#include "gui/widgets/StepEdit.h"
#include "core/codec/Cp949.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace starfall;

namespace {

constexpr std::array<std::string_view, 5> kItems = {"zero", "one", "two", "three", "four"};

TEST(ChoiceCombo, AnUnlistedCodeIsShownAsItsCodeAndKeptUntilAnItemIsPicked) {
    QWidget parent;
    auto* combo = new ChoiceCombo(QStringLiteral("list"), kItems, &parent);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->choice(), ListChoice::none());

    combo->showChoice(ListChoice::unlisted(12));
    EXPECT_EQ(combo->count(), 6);
    EXPECT_EQ(combo->currentText(), QStringLiteral("12"));
    EXPECT_EQ(combo->choice(), ListChoice::unlisted(12));
    combo->setCurrentIndex(2);
    EXPECT_EQ(combo->choice(), ListChoice::item(2));

    // The next record's code replaces the extra item rather than piling up.
    combo->showChoice(ListChoice::unlisted(7));
    EXPECT_EQ(combo->count(), 6);
    EXPECT_EQ(combo->itemText(5), QStringLiteral("7"));
    combo->showChoice(ListChoice::item(4));
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->choice(), ListChoice::item(4));
    // No selection gives back no choice, which keeps the stored bits.
    combo->showChoice(ListChoice::none());
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->choice(), ListChoice::none());
}

// Typed text, a paste and a shown value, each on an edit showing `shown`.
struct DigitsCase {
    const char* what;
    const char* shown;
    const char* typed;
    const char* pasted;
    const char* result;
};

TEST(DigitsEdit, OnlyDigitsCanBeAddedByTypingOrPasting) {
    const DigitsCase cases[] = {
        {"digits are typed", "", "123", nullptr, "123"},
        {"other typed characters are dropped", "", "1a-2 .", nullptr, "12"},
        {"a paste with a letter is refused whole", "5", nullptr, "1x", "5"},
        {"a paste of digits goes in", "5", nullptr, "42", "542"},
        {"a shown minus sign stays and takes digits", "-5", "1a", nullptr, "-51"},
        {"no second minus sign", "-5", "-", nullptr, "-5"},
        {"no minus sign where none was shown", "5", nullptr, "-1", "5"},
    };
    for (const DigitsCase& c : cases) {
        SCOPED_TRACE(c.what);
        DigitsEdit edit(QStringLiteral("edit"), nullptr);
        edit.showText(QString::fromLatin1(c.shown));
        edit.end(false);
        if (c.typed)
            QTest::keyClicks(&edit, QString::fromLatin1(c.typed));
        if (c.pasted) {
            QApplication::clipboard()->setText(QString::fromLatin1(c.pasted));
            edit.paste();
        }
        EXPECT_EQ(edit.text(), QString::fromLatin1(c.result));
    }
}

TEST(DigitsEdit, AShownMinusSignCanBeDeletedAroundAndNotTypedBack) {
    DigitsEdit edit(QStringLiteral("edit"), nullptr);
    edit.showText(QStringLiteral("-50"));
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("-5"));
    edit.showText(QStringLiteral("7"));
    edit.home(false);
    QTest::keyClicks(&edit, QStringLiteral("-"));
    EXPECT_EQ(edit.text(), QStringLiteral("7"));
}

TEST(StepEdit, ArrowsKeysAndWheelReportTheirDirectionAndChangeNothingThemselves) {
    StepEdit edit(QStringLiteral("level"), StepEdit::Byte::Unsigned);
    std::vector<StepDirection> steps;
    QObject::connect(&edit, &StepEdit::stepped,
                     [&](StepDirection direction) { steps.push_back(direction); });
    edit.showText(QStringLiteral("70"));
    edit.resize(edit.sizeHint());
    edit.show();
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    QStyleOptionSpinBox option;
    option.initFrom(&edit);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    const QRect up =
        edit.style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxUp, &edit);
    QTest::mouseClick(&edit, Qt::LeftButton, {}, up.center());
    EXPECT_EQ(steps, (std::vector<StepDirection>{StepDirection::Up, StepDirection::Down,
                                                 StepDirection::Up}));
    EXPECT_EQ(edit.value(), QStringLiteral("70"));
}

TEST(StepEdit, TakesDigitsOnlyAndShowsItsWidestTextWhole) {
    StepEdit edit(QStringLiteral("hit"), StepEdit::Byte::Signed);
    QApplication::clipboard()->setText(QStringLiteral("1x"));
    edit.edit()->paste();
    QTest::keyClicks(&edit, QStringLiteral("4a2"));
    EXPECT_EQ(edit.value(), QStringLiteral("42"));

    edit.resize(edit.sizeHint());
    edit.show();
    const int room = edit.edit()->contentsRect().width();
    EXPECT_GE(room, edit.fontMetrics().horizontalAdvance(QStringLiteral("-128")));
}

QString labelOf(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    const auto labels = accessible->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

TEST(ControlLabels, EachRowOfADropDownColumnIsNamedByAHiddenLabel) {
    QWidget column;
    std::vector<ChoiceCombo*> rows;
    for (int row = 1; row <= 3; ++row) {
        rows.push_back(new ChoiceCombo(QStringLiteral("skill%1").arg(row), kItems, &column));
        nameRow(rows.back(), QStringLiteral("技能 %1").arg(row));
        rows.back()->showChoice(ListChoice::item(row));
    }
    column.show();
    for (int row = 1; row <= 3; ++row) {
        QWidget* combo = rows[static_cast<std::size_t>(row - 1)];
        EXPECT_EQ(labelOf(combo), QStringLiteral("技能 %1").arg(row));
        auto* label = column.findChild<QLabel*>(combo->objectName() + QStringLiteral("Label"));
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->isVisible());
    }
    // A visible caption is the label relation as well.
    auto* edit = new DigitsEdit(QStringLiteral("hp"), &column);
    QLabel* caption = captionFor(QStringLiteral("HP"), edit);
    EXPECT_EQ(caption->buddy(), edit);
    EXPECT_EQ(labelOf(edit), QStringLiteral("HP"));
}

TEST(NameListView, ShowsNamesDecodedAndKeepsTheTextsHidden) {
    QWidget parent;
    auto* model = new NameListModel({QStringLiteral("이름"), QStringLiteral("주소")}, &parent);
    QTableView* view =
        makeNameListView({QStringLiteral("names"), QStringLiteral("목록"), 110}, model, &parent);
    NameList list;
    list.entries = {{cp949::fromUtf8("단쿠가"), "800\n"}, {"Alpha", "40"}};
    model->setList(list);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data().toString(), QStringLiteral("단쿠가"));
    EXPECT_EQ(model->index(0, 1).data().toString(), QStringLiteral("800\n"));
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("이름"));
    EXPECT_EQ(view->columnWidth(0), 110);
    EXPECT_TRUE(view->isColumnHidden(1));
    EXPECT_FALSE(view->tabKeyNavigation());
    EXPECT_EQ(view->accessibleName(), QStringLiteral("목록"));
    model->setList({});
    EXPECT_EQ(model->rowCount(), 0);
}

} // namespace
