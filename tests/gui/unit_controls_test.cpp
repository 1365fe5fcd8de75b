// The unit page's one-tick ability list.
#include "gui/widgets/AbilityTickList.h"

#include "support/GuiTestSupport.h"

#include <QCoreApplication>
#include <QListWidget>
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

// A load shows its own row only: the highlight of an earlier load would pass
// for a second tick.
TEST(AbilityTickList, ShowingARowSelectsItAloneAndLeavesTheTicks) {
    int remembered = 0;
    AbilityTickList list(kItems, remembered);
    list.setTicked(1, true);
    list.showRow(0);
    list.showRow(3);
    EXPECT_FALSE(list.item(0)->isSelected());
    EXPECT_TRUE(list.item(3)->isSelected());
    EXPECT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.currentRow(), 3);
    EXPECT_EQ(list.highestTicked(), 1);
}

// A resize lays the rows out at once: laid out inside the next paint
// instead, they ask for a paint more, and the window's first paint showed
// each list twice.
TEST(AbilityTickList, APaintAfterAResizeIsTheOnlyOne) {
    int remembered = 0;
    AbilityTickList list(kItems, remembered);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QCoreApplication::processEvents();
    test::PaintCounter count;
    list.viewport()->installEventFilter(&count);
    list.resize(list.width() + 40, list.height() - 10);
    list.viewport()->repaint();
    QCoreApplication::processEvents();
    EXPECT_EQ(count.painted[list.viewport()], 1);
}

// Rows are measured once for every list that shows them, so a list must get
// the size the style gives its own rows in its own font, not another list's.
TEST(AbilityTickList, RowsMeasureAsTheStyleMeasuresThemInTheirOwnFont) {
    const auto plainRowSizes = [](const QFont& font) {
        QListWidget plain;
        plain.setFont(font);
        std::vector<QSize> sizes;
        for (const std::string_view text : kItems) {
            auto* item = new QListWidgetItem(
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), &plain);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            sizes.push_back(plain.sizeHintForIndex(plain.indexFromItem(item)));
        }
        return sizes;
    };
    const auto rowSizes = [](const AbilityTickList& list) {
        std::vector<QSize> sizes;
        for (int row = 0; row < list.count(); ++row)
            sizes.push_back(list.sizeHintForIndex(list.model()->index(row, 0)));
        return sizes;
    };
    int first = 0;
    int second = 0;
    AbilityTickList small(kItems, first);
    AbilityTickList large(kItems, second);
    QFont larger = large.font();
    larger.setPointSize(larger.pointSize() * 2);
    large.setFont(larger);
    EXPECT_EQ(rowSizes(small), plainRowSizes(small.font()));
    EXPECT_EQ(rowSizes(large), plainRowSizes(larger));
    EXPECT_NE(rowSizes(large), rowSizes(small));
    EXPECT_GT(large.sizeHint().height(), small.sizeHint().height());
}

} // namespace
