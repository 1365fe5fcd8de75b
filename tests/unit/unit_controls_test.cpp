// The controls the unit page and the weapon editor are built from: the
// one-tick ability list, the drop-down list that keeps an unlisted code, the
// digits-only typing filter and the edit whose arrows report to its owner.
#include "unit/AbilityTickList.h"
#include "unit/ChoiceCombo.h"
#include "unit/DigitKeyFilter.h"
#include "unit/StepEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using namespace starfall;

namespace {

constexpr std::array<std::string_view, 5> kItems = {"zero", "one", "two", "three", "four"};

std::vector<int> tickedRows(const AbilityTickList& list) {
    std::vector<int> rows;
    for (int row = 0; row < list.count(); ++row) {
        if (list.isTicked(row))
            rows.push_back(row);
    }
    return rows;
}

struct TickCase {
    const char* what;
    int rememberedBefore;
    std::vector<int> tickedBefore; // set quietly, as a stale state
    std::vector<std::pair<int, bool>> steps;
    std::vector<int> tickedAfter;
    int rememberedAfter;
};

TEST(AbilityTickList, TickingARowUnticksTheRememberedRow) {
    const TickCase cases[] = {
        {"tick after the remembered row", 0, {0}, {{1, true}}, {1}, 1},
        {"a second tick replaces the first", 0, {0}, {{3, true}, {2, true}}, {2}, 2},
        {"ticking the remembered row again keeps it", 2, {}, {{2, true}}, {2}, 2},
        {"unticking the only tick leaves none", 1, {1}, {{1, false}}, {}, 1},
        {"unticking another row forgets nothing", 1, {1, 3}, {{3, false}, {4, true}}, {4}, 4},
        {"a tick the list did not remember survives", 0, {3}, {{1, true}}, {1, 3}, 1},
    };
    for (const TickCase& c : cases) {
        SCOPED_TRACE(c.what);
        int remembered = c.rememberedBefore;
        AbilityTickList list(kItems, remembered);
        {
            const QSignalBlocker quiet(&list);
            for (const int row : c.tickedBefore)
                list.setTicked(row, true);
        }
        for (const auto& [row, ticked] : c.steps)
            list.setTicked(row, ticked);
        EXPECT_EQ(tickedRows(list), c.tickedAfter);
        EXPECT_EQ(remembered, c.rememberedAfter);
    }
}

TEST(AbilityTickList, TheHighestTickCountsAndRowsStayInItemOrder) {
    int remembered = 0;
    AbilityTickList list(kItems, remembered);
    EXPECT_EQ(list.highestTicked(), std::nullopt);
    {
        const QSignalBlocker quiet(&list);
        list.setTicked(1, true);
        list.setTicked(3, true);
    }
    EXPECT_EQ(list.highestTicked(), 3);
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(list.item(4)->text(), QStringLiteral("four"));
    EXPECT_TRUE(list.item(4)->flags().testFlag(Qt::ItemIsUserCheckable));
}

TEST(AbilityTickList, ShowingARowSelectsItWithoutDeselectingEarlierRows) {
    int remembered = 0;
    AbilityTickList list(kItems, remembered);
    list.showRow(0);
    list.showRow(3);
    EXPECT_TRUE(list.item(0)->isSelected());
    EXPECT_TRUE(list.item(3)->isSelected());
    EXPECT_EQ(list.currentRow(), 3);
}

TEST(ChoiceCombo, AnUnlistedCodeIsShownAsItsCodeAndKeptUntilAnItemIsPicked) {
    QWidget parent;
    QComboBox* combo = makeChoiceCombo(kItems, &parent);
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(combo->isEditable());

    const ListChoice unlisted = ListChoice::unlisted(12);
    showChoice(combo, 5, unlisted);
    EXPECT_EQ(combo->count(), 6);
    EXPECT_EQ(combo->currentText(), QStringLiteral("12"));
    EXPECT_EQ(takeChoice(combo, 5, unlisted), unlisted);

    combo->setCurrentIndex(2);
    EXPECT_EQ(takeChoice(combo, 5, unlisted), ListChoice::item(2));

    // The next record's code replaces the extra item rather than piling up.
    showChoice(combo, 5, ListChoice::unlisted(7));
    EXPECT_EQ(combo->count(), 6);
    EXPECT_EQ(combo->itemText(5), QStringLiteral("7"));
    showChoice(combo, 5, ListChoice::item(4));
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->currentIndex(), 4);
    showChoice(combo, 5, ListChoice::none());
    EXPECT_EQ(takeChoice(combo, 5, ListChoice::none()), ListChoice::none());
}

TEST(DigitKeyFilter, OnlyTypedNonDigitsAreDropped) {
    QLineEdit edit;
    DigitKeyFilter::install(&edit);
    edit.setText(QStringLiteral("-5")); // as a load puts it in
    edit.end(false);
    QTest::keyClicks(&edit, QStringLiteral("1a-2 "));
    EXPECT_EQ(edit.text(), QStringLiteral("-512"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QStringLiteral("-51"));
}

TEST(StepEdit, ArrowsReportTheirDirectionAndChangeNothingThemselves) {
    StepEdit edit;
    std::vector<int> steps;
    edit.setStepHandler([&](int direction) { steps.push_back(direction); });
    edit.setValue(QStringLiteral("70"));
    QTest::keyClick(&edit, Qt::Key_Up);
    QTest::keyClick(&edit, Qt::Key_Down);
    edit.stepBy(2);
    EXPECT_EQ(steps, (std::vector<int>{1, -1, 1, 1}));
    EXPECT_EQ(edit.value(), QStringLiteral("70"));
}

} // namespace
