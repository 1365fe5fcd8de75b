#include "gui/app/FileMenuItems.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace starfall {

namespace {

QMenu* fileMenu(QMainWindow& window) {
    return window.menuBar()->findChild<QMenu*>(QStringLiteral("fileMenu"));
}

// The quit item, or null to append at the end.
QAction* quitItem(QMenu& file) {
    for (QAction* action : file.actions()) {
        if (action->objectName() == QLatin1String("quitAction"))
            return action;
    }
    return nullptr;
}

} // namespace

QAction* addFileMenuItem(QMainWindow& window, const QString& text, const char* name) {
    QMenu* file = fileMenu(window);
    auto* action = new QAction(text, file != nullptr ? static_cast<QObject*>(file) : &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);
    if (file != nullptr)
        file->insertAction(quitItem(*file), action);
    return action;
}

void closeFileMenuGroup(QMainWindow& window) {
    if (QMenu* file = fileMenu(window))
        file->insertSeparator(quitItem(*file));
}

} // namespace starfall
