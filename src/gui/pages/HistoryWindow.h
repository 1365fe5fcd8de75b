#pragma once

// The "저장 기록" window: the image's saves, newest last, with the fields each
// changed. A chosen save can be undone, and the whole history written as a
// PPF patch.

#include "core/io/SaveHistory.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTableWidget;

namespace starfall {

class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    HistoryWindow(std::string imagePath, QWidget* parent = nullptr);

    [[nodiscard]] QTableWidget* table() const { return m_table; }
    // Undoes the save in the chosen row; refusals are shown, nothing written.
    void undoChosen();
    // Asks where, then writes every save of the history as one PPF patch.
    void savePatch();

Q_SIGNALS:
    // A save was undone: the pages show what the image holds now.
    void imageChanged();

private:
    void refresh();

    std::string m_imagePath;
    std::vector<HistoryEntry> m_entries;
    QTableWidget* m_table = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_patch = nullptr;
};

} // namespace starfall
