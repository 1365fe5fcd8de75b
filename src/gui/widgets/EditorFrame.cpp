#include "gui/widgets/EditorFrame.h"

#include <QCoreApplication>
#include <QIcon>
#include <QWidget>

namespace starfall {

QIcon editorIcon() {
    return QIcon(QStringLiteral(":/starfall/editor.png"));
}

void fixDialogFrame(QWidget* window) {
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    window->setWindowFlags(type | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The size every control asks for, so that nothing is cut at any scale.
    window->setFixedSize(window->sizeHint());
}

void showSettled(QWidget& window) {
    // One round per level of nesting the chain climbs through; more than
    // the editor's windows have.
    constexpr int kRounds = 10;
    window.show();
    for (int round = 0; round < kRounds; ++round)
        QCoreApplication::sendPostedEvents();
}

} // namespace starfall
