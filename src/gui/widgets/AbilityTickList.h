#pragma once

// One of the unit page's four ability lists: the ability items in code order,
// each row with a tick box, rows flowing in columns that scroll sideways. The
// stored code is the position of the ticked row.
//
// One tick per list: ticking a row unticks the row this list remembers and
// remembers the new one. The remembered row is held outside the list (the
// page keeps one per list for the whole program), so it outlives a load, a
// unit and an image. When ticks do pile up, the highest one counts.

#include <QListWidget>

#include <optional>
#include <span>
#include <string_view>

namespace starfall {

class AbilityTickList : public QListWidget {
    Q_OBJECT
public:
    // The distance from the view's left edge at which a shown row's column starts.
    static constexpr int kShownRowIndent = 20;

    AbilityTickList(std::span<const std::string_view> items, int& rememberedRow,
                    QWidget* parent = nullptr);

    [[nodiscard]] bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    void untickAll();

    // The highest ticked row, or nothing when no row is ticked.
    [[nodiscard]] std::optional<int> highestTicked() const;

    // Room for every row whole, in two columns. The items never change, so
    // it is measured once per font and style: layouts ask for it a dozen
    // times before the first paint, and each time measures every row.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

    // Makes `row` the one selected and focused row, so that the highlight of
    // an earlier record's row is gone, and scrolls its column to
    // kShownRowIndent from the left.
    void showRow(int row);

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onItemChanged(QListWidgetItem* item);
    void showFocus(bool focused);

    int& m_remembered;
    mutable std::optional<QSize> m_sizeHint;
};

} // namespace starfall
