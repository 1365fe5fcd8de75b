#include "gui/widgets/NameListView.h"

#include "core/codec/Cp949.h"
#include "core/text/Messages.h"
#include "gui/widgets/CrispFrame.h"
#include "gui/widgets/PageControls.h"

#include <algorithm>

#include <QFont>
#include <QHBoxLayout>
#include <QPalette>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTableView>

namespace starfall {

namespace {

// What screen readers announce for the search box, which has no label.
constexpr const char* kSearchBoxName = "검색";

// The width that shows the name column whole, beside a vertical scroll bar.
int nameListWidth(const QTableView* view) {
    const int frame = 2 * view->frameWidth();
    const int scrollBar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    return view->columnWidth(NameListModel::kNameColumn) + scrollBar + frame + 1;
}

// Draws a name a few pixels in from both grid lines, so that a long name is
// elided before it touches them; the row's background and selection still
// fill the whole cell.
class NameCellDelegate : public QStyledItemDelegate {
public:
    static constexpr int kTextMargin = 3;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem inside = option;
        inside.rect.adjust(kTextMargin, 0, -kTextMargin, 0);
        QStyledItemDelegate::paint(painter, inside, index);
    }

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(2 * kTextMargin, 0);
    }
};

// The column header. Qt measures a header section in the bold weight of
// its font, so that a highlighted section never outgrows its room; these
// sections are never highlighted and their widths are fixed, so only the
// height counts, and the regular weight gives the same. Measuring in bold
// would load the bold CJK face, and its glyphs, before the first paint for
// nothing else.
class NameListHeader : public QHeaderView {
public:
    explicit NameListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
        // As the table's own header is set up.
        setSectionsClickable(true);
    }

protected:
    [[nodiscard]] QSize sectionSizeFromContents(int section) const override {
        ensurePolished();
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = section;
        option.text = model()->headerData(section, orientation(), Qt::DisplayRole).toString();
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    }
};

// How a row whose record lies past the image's end is marked.
const QString kPastEndText = QStringLiteral("이미지 끝 너머");

QVariant pastEndMark(int role) {
    if (role == Qt::ForegroundRole)
        return QPalette().brush(QPalette::Disabled, QPalette::Text);
    if (role == Qt::ToolTipRole)
        return kPastEndText;
    if (role == Qt::FontRole) {
        QFont font;
        font.setItalic(true);
        return font;
    }
    return {};
}

} // namespace

QString displayName(std::string_view nameCp949) {
    return QString::fromStdString(cp949::toUtf8(nameCp949));
}

NameListModel::NameListModel(std::array<QString, 2> captions, QObject* parent)
    : QAbstractTableModel(parent), m_captions(std::move(captions)) {}

void NameListModel::setList(NameList list) {
    beginResetModel();
    m_list = std::move(list);
    m_pastEndRows.clear();
    m_marked.clear();
    endResetModel();
}

void NameListModel::setPastEndRows(std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    m_pastEndRows = std::move(rows);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void NameListModel::setMarks(std::vector<bool> marked) {
    m_marked = std::move(marked);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool NameListModel::pastEnd(int row) const {
    return row >= 0 && std::binary_search(m_pastEndRows.begin(), m_pastEndRows.end(),
                                           static_cast<std::size_t>(row));
}

bool NameListModel::isMarked(int row) const {
    return row >= 0 && static_cast<std::size_t>(row) < m_marked.size() &&
           m_marked[static_cast<std::size_t>(row)];
}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.entries.size());
}

int NameListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (pastEnd(index.row())) {
        if (const QVariant mark = pastEndMark(role); mark.isValid())
            return mark;
    }
    const bool marked = isMarked(index.row());
    if (role == Qt::FontRole && marked) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    if (role == Qt::AccessibleDescriptionRole && marked)
        return QString::fromUtf8(messages::kChangedFromOriginal.data(),
                                 static_cast<qsizetype>(messages::kChangedFromOriginal.size()));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const NameListEntry& entry = m_list.entries[static_cast<std::size_t>(index.row())];
    if (index.column() == kNameColumn) {
        if (role == Qt::AccessibleTextRole && pastEnd(index.row()))
            return displayName(entry.name) + QStringLiteral(" (") + kPastEndText +
                   QStringLiteral(")");
        if (marked && role == Qt::DisplayRole)
            return QString::fromUtf8(messages::kOriginalMark.data(),
                                     static_cast<qsizetype>(messages::kOriginalMark.size())) +
                   displayName(entry.name);
        return displayName(entry.name);
    }
    return QString::fromLatin1(entry.addressText);
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section > 1)
        return {};
    if (role == Qt::DisplayRole)
        return m_captions[static_cast<std::size_t>(section)];
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

QTableView* makeNameListView(const NameListViewSetup& setup, NameListModel* model,
                             QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setHorizontalHeader(new NameListHeader(view));
    view->setObjectName(setup.objectName);
    view->setAccessibleName(setup.accessibleName);
    view->setModel(model);
    view->setItemDelegate(new NameCellDelegate(view));
    view->setTabKeyNavigation(false);
    view->setShowGrid(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // One row height for all: the view never asks a row for its size.
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(view->fontMetrics().height() + 6);
    QHeaderView* columns = view->horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setHighlightSections(false);
    view->setColumnWidth(NameListModel::kNameColumn, setup.nameColumnWidth);
    view->setColumnHidden(NameListModel::kTextColumn, true);
    view->setFixedWidth(nameListWidth(view));
    keepFrameCrisp(view);
    return view;
}

SearchRow makeSearchRow(QWidget* parent) {
    SearchRow row;
    row.box = new QLineEdit(parent);
    row.box->setObjectName(QStringLiteral("searchEdit"));
    row.box->setAccessibleName(QString::fromUtf8(kSearchBoxName));
    row.go = new QPushButton(QStringLiteral("GO"), parent);
    row.go->setObjectName(QStringLiteral("goButton"));
    giveAccessKey(row.go);
    row.go->setFixedWidth(row.go->fontMetrics().horizontalAdvance(row.go->text()) + 20);
    row.layout = new QHBoxLayout;
    row.layout->addWidget(row.box, 1);
    row.layout->addWidget(row.go);
    return row;
}

} // namespace starfall
