#pragma once

// The "편집(&E)" menu: undo and redo of the last save (Ctrl+Z and Ctrl+Y,
// which a text box with focus keeps for its own text), the "저장 기록"
// window, clearing the history, and whether saves are recorded at all.

#include <QObject>

#include <functional>
#include <string>

class QAction;
class QMainWindow;
class QMenu;

namespace starfall {

class HistoryMenu : public QObject {
    Q_OBJECT
public:
    // `imagePath` names the open image (empty for none); `reload` has the pages
    // show what the image holds after an undo or redo.
    // The menu goes at the end of the window's menu bar.
    HistoryMenu(QMainWindow* window, std::function<std::string()> imagePath,
                std::function<void()> reload);

    void undoLastSave();
    void redoLastUndo();
    void showHistory();
    void clearHistoryAsked();

    [[nodiscard]] QMenu* menu() const { return m_menu; }

private:
    QAction* addItem(const QString& text, const char* name, void (HistoryMenu::*slot)());
    void reverse(bool undo);

    QMainWindow* m_window;
    QMenu* m_menu = nullptr;
    std::function<std::string()> m_imagePath;
    std::function<void()> m_reload;
};

} // namespace starfall
