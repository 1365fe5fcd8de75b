#include "gui/widgets/AbilityTickList.h"

#include "gui/widgets/CrispFrame.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QHash>
#include <QPalette>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>

namespace starfall {

namespace {

// What a row's size follows from: its text, font (at the screen's dots per
// inch), tick box and style.
struct RowLook {
    QString text;
    QFont font;
    int dpi;
    unsigned features;
    QSize decoration;
    const QStyle* style;
    QString styleName; // should another style come to lie where one was
    int width; // a wrapped text's height depends on the width it is given
    bool operator==(const RowLook&) const = default;
};

size_t qHash(const RowLook& look, size_t seed = 0) {
    return qHashMulti(seed, look.text, look.font, look.dpi, look.features, look.decoration.width(),
                      look.decoration.height(), look.style, look.styleName, look.width);
}

// Rows measured once for all four lists. The lists show the same items, and
// each lays its rows out several times before the first paint (for its size,
// then for each size it is given): the style measured a row's text some 440
// times, 5% of the editor's start-up.
class SharedRowSizes : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (const QVariant given = index.data(Qt::SizeHintRole); given.isValid())
            return given.toSize();
        QStyleOptionViewItem row = option;
        initStyleOption(&row, index);
        const QStyle* style = row.widget != nullptr ? row.widget->style() : QApplication::style();
        const bool wraps = row.features.testFlag(QStyleOptionViewItem::WrapText);
        const int dpi = row.widget != nullptr ? row.widget->logicalDpiY() : 0;
        const RowLook look{row.text,
                           row.font,
                           dpi,
                           row.features.toInt(),
                           row.decorationSize,
                           style,
                           style->name(),
                           wraps ? row.rect.width() : 0};
        static QHash<RowLook, QSize> measured;
        if (const auto found = measured.constFind(look); found != measured.constEnd())
            return *found;
        const QSize size =
            style->sizeFromContents(QStyle::CT_ItemViewItem, &row, QSize(), row.widget);
        measured.insert(look, size);
        return size;
    }
};

} // namespace

AbilityTickList::AbilityTickList(std::span<const std::string_view> items, int& rememberedRow,
                                 QWidget* parent)
    : QListWidget(parent), m_remembered(rememberedRow) {
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // One highlighted row, apart from the ticks: Shift+arrows move it, they
    // do not stack highlights.
    setSelectionMode(QAbstractItemView::SingleSelection);
    showFocus(false);
    keepFrameCrisp(this);
    setSortingEnabled(false);
    setItemDelegate(new SharedRowSizes(this));
    for (const std::string_view text : items) {
        auto* item = new QListWidgetItem(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    connect(this, &QListWidget::itemChanged, this, &AbilityTickList::onItemChanged);
}

bool AbilityTickList::isTicked(int row) const {
    const QListWidgetItem* it = item(row);
    return it != nullptr && it->checkState() == Qt::Checked;
}

void AbilityTickList::setTicked(int row, bool ticked) {
    if (QListWidgetItem* it = item(row))
        it->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void AbilityTickList::untickAll() {
    for (int row = 0; row < count(); ++row)
        setTicked(row, false);
}

QSize AbilityTickList::sizeHint() const {
    if (m_sizeHint)
        return *m_sizeHint;
    constexpr int kColumns = 2;
    const int rows = (count() + kColumns - 1) / kColumns;
    const int frame = 2 * frameWidth();
    // Room for the sideways scroll bar too: the rows are laid out before it
    // is known to be unneeded, and a column cut short by it would wrap into
    // a third one that keeps it shown.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    m_sizeHint = QSize(kColumns * (sizeHintForColumn(0) + 2 * spacing() + 4) + frame,
                       rows * (sizeHintForRow(0) + 2 * spacing()) + frame + scrollBar + 4);
    return *m_sizeHint;
}

void AbilityTickList::changeEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange || type == QEvent::StyleChange)
        m_sizeHint.reset();
    QListWidget::changeEvent(event);
}

// The base view lays the rows out again a tenth of a second after a resize,
// or in the next paint if that comes first. At start-up the window paints
// sooner, and a layout inside a paint asks for another paint: each list
// would be painted twice over before the window showed once.
void AbilityTickList::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    executeDelayedItemsLayout();
}

std::optional<int> AbilityTickList::highestTicked() const {
    for (int row = count() - 1; row >= 0; --row) {
        if (isTicked(row))
            return row;
    }
    return std::nullopt;
}

void AbilityTickList::showRow(int row) {
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    QScrollBar* sideways = horizontalScrollBar();
    sideways->setValue(sideways->value() + visualRect(index).left() - kShownRowIndent);
}

void AbilityTickList::onItemChanged(QListWidgetItem* changed) {
    const int row = this->row(changed);
    if (changed->checkState() != Qt::Checked || row == m_remembered)
        return;
    // Remember first: unticking the old row reports a change of its own.
    const int previous = m_remembered;
    m_remembered = row;
    setTicked(previous, false);
}

// Only the list with the focus shows its current row in the highlight colour;
// the others show it in a quiet one, so that the focused list stands out.
void AbilityTickList::showFocus(bool focused) {
    QPalette shown = QApplication::palette(this);
    if (!focused) {
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            shown.setColor(group, QPalette::Highlight, shown.color(group, QPalette::Midlight));
            shown.setColor(group, QPalette::HighlightedText, shown.color(group, QPalette::Text));
        }
    }
    setPalette(shown);
}

void AbilityTickList::focusInEvent(QFocusEvent* event) {
    showFocus(true);
    QListWidget::focusInEvent(event);
}

void AbilityTickList::focusOutEvent(QFocusEvent* event) {
    showFocus(false);
    QListWidget::focusOutEvent(event);
}

} // namespace starfall
