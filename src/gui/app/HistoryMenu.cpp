#include "gui/app/HistoryMenu.h"

#include "core/history/HistoryUndo.h"
#include "core/io/CoreError.h"
#include "gui/app/EditorSettings.h"
#include "gui/pages/HistoryWindow.h"
#include "gui/widgets/RecordSave.h"
#include "gui/widgets/MessagePresenter.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace starfall {

HistoryMenu::HistoryMenu(QMainWindow* window, std::function<std::string()> imagePath,
                         std::function<void()> reload)
    : QObject(window), m_window(window), m_imagePath(std::move(imagePath)),
      m_reload(std::move(reload)) {
    m_menu = new QMenu(QStringLiteral("편집(&E)"), window);
    m_menu->setObjectName(QStringLiteral("editMenu"));
    window->menuBar()->addMenu(m_menu);

    QAction* undo = addItem(QStringLiteral("저장 취소(&U)"), "undoSaveAction",
                            &HistoryMenu::undoLastSave);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = addItem(QStringLiteral("다시 저장(&R)"), "redoSaveAction",
                            &HistoryMenu::redoLastUndo);
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    m_menu->addSeparator();
    addItem(QStringLiteral("저장 기록(&H)…"), "historyWindowAction", &HistoryMenu::showHistory);
    addItem(QStringLiteral("저장 기록 지우기(&C)…"), "clearHistoryAction",
            &HistoryMenu::clearHistoryAsked);

    QAction* record = m_menu->addAction(QStringLiteral("저장 기록 남기기(&K)"));
    record->setObjectName(QStringLiteral("recordHistoryAction"));
    record->setCheckable(true);
    record->setChecked(settings::recordHistory());
    setHistoryRule(record->isChecked() ? HistoryRule::Record : HistoryRule::Skip);
    connect(record, &QAction::toggled, this, [](bool on) {
        settings::setRecordHistory(on);
        setHistoryRule(on ? HistoryRule::Record : HistoryRule::Skip);
    });
}

QAction* HistoryMenu::addItem(const QString& text, const char* name,
                              void (HistoryMenu::*slot)()) {
    QAction* action = m_menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void HistoryMenu::undoLastSave() {
    reverse(true);
}

void HistoryMenu::redoLastUndo() {
    reverse(false);
}

void HistoryMenu::reverse(bool undo) {
    const std::string image = m_imagePath();
    if (image.empty())
        return;
    try {
        recoverInterruptedSave(image);
        const std::vector<HistoryEntry> entries = soundHistoryOf(image);
        const Reversal reversal =
            undo ? planUndo(image, entries, std::nullopt) : planRedo(image, entries);
        (void)applyReversal(image, reversal, saveCodeRule());
    } catch (const CoreError& error) {
        messagePresenter().show(m_window, messageFor(error));
        return;
    }
    m_reload();
}

void HistoryMenu::showHistory() {
    const std::string image = m_imagePath();
    if (image.empty())
        return;
    HistoryWindow window(image, m_window);
    connect(&window, &HistoryWindow::imageChanged, this, [this] { m_reload(); });
    window.exec();
}

void HistoryMenu::clearHistoryAsked() {
    const std::string image = m_imagePath();
    if (image.empty() ||
        !messagePresenter().confirm(m_window, messages::historyClearQuestion(historyPathFor(image))))
        return;
    try {
        (void)clearHistory(image);
    } catch (const CoreError& error) {
        messagePresenter().show(m_window, messageFor(error));
    }
}

} // namespace starfall
