#pragma once

// "바뀐 곳 보기": every change of the image against its original, record by
// record, as `diff --text` prints it, then the bytes no record holds.
// Double-clicking a record's row asks for that record to be shown.

#include "core/compare/OriginalComparison.h"

#include <QDialog>

#include <functional>

class QListWidget;

namespace starfall {

class ChangesWindow : public QDialog {
    Q_OBJECT
public:
    // Told the section and index of a double-clicked record row.
    using ShowRecord = std::function<void(const std::string& section, std::size_t index)>;

    ChangesWindow(QWidget* parent, ShowRecord show);

    void showComparison(const OriginalComparison& comparison);
    [[nodiscard]] QListWidget* list() const { return m_list; }
    // What a double-click on `row` does.
    void activateRow(int row);

private:
    QListWidget* m_list = nullptr;
    ShowRecord m_show;
    std::vector<RecordChange> m_records;
};

} // namespace starfall
