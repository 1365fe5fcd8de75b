#pragma once

// The lists of names the record pages and the weapon editor show: a model
// over a NameList that decodes a name only when its row is drawn, so that a
// list of any length costs only the rows on screen, and the view around it
// (one visible name column, one hidden column holding the entry's text).

#include "core/lists/NameList.h"

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>
#include <string_view>
#include <vector>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace starfall {

// A list name as the controls show it; comparisons keep using the bytes.
[[nodiscard]] QString displayName(std::string_view nameCp949);

class NameListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kNameColumn, kTextColumn };

    // `captions`: the visible name column's and the hidden text column's.
    NameListModel(std::array<QString, 2> captions, QObject* parent);

    // Replaces the entries, without marks; views show the new list from its top.
    void setList(NameList list);
    // Marks the rows whose record differs from the original image: a "●"
    // before the name, a bold font, and the accessible description. Rows
    // past the end of `marked` are unmarked.
    void setMarks(std::vector<bool> marked);
    [[nodiscard]] bool isMarked(int row) const;
    [[nodiscard]] const NameList& list() const { return m_list; }
    // The rows whose record lies past the image's end: greyed, in italics,
    // and so announced. A new list has none.
    void setPastEndRows(std::vector<std::size_t> rows);
    [[nodiscard]] bool pastEnd(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role) const override;

private:
    NameList m_list;
    std::array<QString, 2> m_captions;
    std::vector<std::size_t> m_pastEndRows; // ascending
    std::vector<bool> m_marked;
};

struct NameListViewSetup {
    QString objectName;
    QString accessibleName; // the group or caption that names the list
    int nameColumnWidth = 0;
};

// A single-selection, full-row, read-only list over `model` with grid
// lines, the text column hidden and rows of one height. Tab and Shift+Tab
// leave the list like any other control instead of stepping through rows.
[[nodiscard]] QTableView* makeNameListView(const NameListViewSetup& setup, NameListModel* model,
                                           QWidget* parent);

// The search box and "GO" above a name list of both record pages; "GO" only
// as wide as its text, so that the box keeps the room of the narrow list.
struct SearchRow {
    QHBoxLayout* layout = nullptr;
    QLineEdit* box = nullptr;
    QPushButton* go = nullptr;
};
[[nodiscard]] SearchRow makeSearchRow(QWidget* parent);

} // namespace starfall
